#include "core/agent/char_actions.h"

#include <optional>

#include "core/agent/speech_text.h"
#include "core/app/player.h"
#include "core/util/numbers.h"
#include "core/util/paths.h"
#include "core/util/text.h"
#include "platform/runtime_error.h"

namespace rirerazo {
namespace {

// Queues a request on the current character and keeps it as the last request. Any
// failure (no current character, a refused call, a conversion) skips the action and
// leaves the last request as it was.
template <class Call>
void QueueOnCurrent(Player& player, Call&& call) {
  if (player.characters().current == nullptr) return;
  try {
    player.run().last_request = call(*player.characters().current);
  } catch (const RuntimeError&) {
  }
}

// Applies a setting to the current character; a failure skips it.
template <class Call>
void SetOnCurrent(Player& player, Call&& call) {
  if (player.characters().current == nullptr) return;
  try {
    call(*player.characters().current);
  } catch (const RuntimeError&) {
  }
}

// Runs `call` on every character of the table in order; one failure does not stop the loop.
template <class Call>
void ForEachCharacter(Player& player, Call&& call) {
  for (const CharEntry& entry : player.characters().loaded) {
    try {
      call(entry, player.agent().Character(entry.id));
    } catch (const RuntimeError&) {
    }
  }
}

}  // namespace

void CharSpeak(Player& player, const std::string& text, const std::string& sound_path) {
  QueueOnCurrent(player, [&](platform::AgentCharacter& character) {
    SpeechParts parts = SplitSpeech(text, sound_path);
    if (parts.sound_given) parts.sound = util::ResolveScriptPath(parts.sound, player.paths());
    parts.text = TagPlayerName(parts.text);
    if (parts.sound.empty()) return character.Speak(parts.text, std::nullopt);
    if (parts.text.empty()) return character.Speak(std::nullopt, parts.sound);
    return character.Speak(parts.text, parts.sound);
  });
}

void CharThink(Player& player, const std::string& text) {
  QueueOnCurrent(player, [&](platform::AgentCharacter& c) { return c.Think(text); });
}

void CharPlay(Player& player, const std::string& animation) {
  QueueOnCurrent(player, [&](platform::AgentCharacter& c) { return c.Play(animation); });
}

void CharMoveTo(Player& player, std::int32_t x_px, std::int32_t y_px, std::int32_t speed_ms) {
  QueueOnCurrent(player, [&](platform::AgentCharacter& c) {
    const std::int16_t x = util::RoundToInt16(x_px);
    const std::int16_t y = util::RoundToInt16(y_px);
    std::optional<std::int32_t> speed;
    if (speed_ms != -1) speed = speed_ms;
    return c.MoveTo(x, y, speed);
  });
}

void CharGestureAt(Player& player, std::int32_t x_px, std::int32_t y_px) {
  QueueOnCurrent(player, [&](platform::AgentCharacter& c) {
    return c.GestureAt(util::RoundToInt16(x_px), util::RoundToInt16(y_px));
  });
}

void CharShow(Player& player) {
  QueueOnCurrent(player, [](platform::AgentCharacter& c) { return c.Show(); });
}

void CharHide(Player& player) {
  QueueOnCurrent(player, [](platform::AgentCharacter& c) { return c.Hide(); });
}

void CharStopAll(Player& player) {
  ForEachCharacter(player, [](const CharEntry&, platform::AgentCharacter& c) { c.StopAll(); });
}

void CharWidth(Player& player, const std::string& text) {
  SetOnCurrent(player, [&](platform::AgentCharacter& c) {
    c.SetWidth(util::RoundToInt16(util::Val(text)));
  });
}

void CharHeight(Player& player, const std::string& text) {
  SetOnCurrent(player, [&](platform::AgentCharacter& c) {
    c.SetHeight(util::RoundToInt16(util::Val(text)));
  });
}

void CharTTSModeID(Player& player, const std::string& text) {
  SetOnCurrent(player, [&](platform::AgentCharacter& c) { c.SetTTSModeID(text); });
}

void CharBalloonFontName(Player& player, const std::string& text) {
  SetOnCurrent(player, [&](platform::AgentCharacter& c) {
    c.SetBalloonFontName(util::TrimChars(text, "\""));
  });
}

void CharBalloonFontSize(Player& player, const std::string& text) {
  SetOnCurrent(player,
               [&](platform::AgentCharacter& c) { c.SetBalloonFontSize(util::TextToInt32(text)); });
}

void CharBalloonStyle(Player& player, const std::string& text) {
  SetOnCurrent(player, [&](platform::AgentCharacter& c) {
    c.SetBalloonStyle(util::RoundToInt32(util::Val(text)));
  });
}

void WaitFor(Player& player, platform::AgentRequest request) {
  if (request.IsNull()) return;
  std::string current_id;
  if (player.characters().current_index >= 1 &&
      player.characters().current_index <= player.characters().count()) {
    current_id = player.characters()
                     .loaded[static_cast<std::size_t>(player.characters().current_index - 1)]
                     .id;
  }
  ForEachCharacter(player, [&](const CharEntry& entry, platform::AgentCharacter& c) {
    if (entry.id != current_id) c.Wait(request);
  });
}

}  // namespace rirerazo
