// What character statements do to characters. Each action works on the current character
// (or on every loaded one), returns at once and never fails towards its caller: a call the
// control refuses is skipped. The actions that queue a request store it as ScriptRun::last_request
// when the control accepts it, so that a script can make other characters wait for it.
#pragma once

#include <cstdint>
#include <string>

#include "platform/agent_control.h"

namespace rirerazo {

class Player;

// Speaks `text`, or plays `sound_path`, or both; see SplitSpeech for how a sound file
// given inside the text is found.
void CharSpeak(Player& player, const std::string& text, const std::string& sound_path);
void CharThink(Player& player, const std::string& text);
void CharPlay(Player& player, const std::string& animation);
// `speed_ms` -1 leaves the speed to the control.
void CharMoveTo(Player& player, std::int32_t x_px, std::int32_t y_px, std::int32_t speed_ms);
void CharGestureAt(Player& player, std::int32_t x_px, std::int32_t y_px);
void CharShow(Player& player);
void CharHide(Player& player);

void CharStopAll(Player& player);

// The numeric value of the text, to the nearest 16-bit integer.
void CharWidth(Player& player, const std::string& text);
void CharHeight(Player& player, const std::string& text);
void CharTTSModeID(Player& player, const std::string& text);
void CharBalloonFontName(Player& player, const std::string& text);
// The text converted as a whole to a 32-bit integer.
void CharBalloonFontSize(Player& player, const std::string& text);
// The numeric value of the text, to the nearest 32-bit integer.
void CharBalloonStyle(Player& player, const std::string& text);

// Makes every other character of the table wait for `request`. A null request (no SETREQ=
// line ran yet) makes nobody wait.
void WaitFor(Player& player, platform::AgentRequest request);

}  // namespace rirerazo
