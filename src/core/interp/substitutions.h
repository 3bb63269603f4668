// The substitutions that let scripts name positions and times instead of numbers:
// whole-script replacements done once when a script starts, and ParseOption, which
// evaluates one coordinate when its line runs.
#pragma once

#include <string>
#include <vector>

#include "platform/clock.h"

namespace rirerazo {

class Player;
struct CharEntry;

// The whole-script substitutions, in their order: screen-position words, joining blanks,
// date and time phrases (clock read now).
std::string SubstituteScript(Player& player, std::string script);

// <ID>LeftX, <ID>CenterX, <ID>RightX, <ID>TopY, <ID>CenterY, <ID>BottomY of every entry, in
// table order, letter case ignored, by whole pixels for a screen of
// `screen_width_px` x `screen_height_px`.
void ReplaceScreenWords(std::string& script, const std::vector<CharEntry>& characters,
                        std::int32_t screen_width_px, std::int32_t screen_height_px);

// "  &" becomes " &", then "&  " becomes "& " (one pass each).
void JoinBlanks(std::string& script);

// Replaces one phrase such as "GetDay()" by `value`, melting it into quoted text joined
// with " & " on either side.
void ReplacePhrase(std::string& script, const std::string& phrase, const std::string& value);

// The four date and time phrases, each value taken from `clock` once.
void ReplaceDatePhrases(std::string& script, const platform::Clock& clock);

// Replaces <ID>.Left, .Top, .Width and .Height of every loaded character by its current
// value and evaluates the text as an arithmetic expression; 0 when it cannot. Never fails.
double ParseOption(Player& player, std::string text);

}  // namespace rirerazo
