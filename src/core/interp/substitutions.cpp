#include "core/interp/substitutions.h"

#include <array>
#include <string_view>

#include "core/app/player.h"
#include "core/expr/c_eval.h"
#include "core/interp/date_phrases.h"
#include "core/interp/replace_text.h"
#include "platform/runtime_error.h"

namespace rirerazo {
namespace {

struct ScreenWord {
  std::string_view word;
  std::int32_t (*value)(std::int32_t screen, std::int32_t size);
};

// Horizontal words take the screen width and the character's width, vertical ones the
// heights. Integer division truncates toward zero, as the script language's does.
constexpr std::array<ScreenWord, 6> kScreenWords = {{
    {"LeftX", [](std::int32_t, std::int32_t) { return 0; }},
    {"CenterX", [](std::int32_t screen, std::int32_t size) { return screen / 2 - size / 2; }},
    {"RightX", [](std::int32_t screen, std::int32_t size) { return screen - size; }},
    {"TopY", [](std::int32_t, std::int32_t) { return 0; }},
    {"CenterY", [](std::int32_t screen, std::int32_t size) { return screen / 2 - size / 2; }},
    {"BottomY", [](std::int32_t screen, std::int32_t size) { return screen - size; }},
}};

// Replaces id + suffix (letter case ignored) by `value`.
void ReplaceReference(std::string& text, const std::string& id, std::string_view suffix,
                      long value) {
  std::string find = id;
  find += suffix;
  ReplaceText(text, find, std::to_string(value), Compare::kIgnoreAsciiCase);
}

}  // namespace

void ReplaceScreenWords(std::string& script, const std::vector<CharEntry>& characters,
                        std::int32_t screen_width_px, std::int32_t screen_height_px) {
  for (const CharEntry& entry : characters) {
    if (FindText(script, entry.id, 0, Compare::kIgnoreAsciiCase) == std::string::npos) continue;
    for (std::size_t i = 0; i < kScreenWords.size(); ++i) {
      const bool horizontal = i < 3;
      const std::int32_t screen = horizontal ? screen_width_px : screen_height_px;
      const std::int32_t size = horizontal ? entry.width_px : entry.height_px;
      ReplaceReference(script, entry.id, kScreenWords[i].word, kScreenWords[i].value(screen, size));
    }
  }
}

void JoinBlanks(std::string& script) {
  ReplaceText(script, "  &", " &", Compare::kExact);
  ReplaceText(script, "&  ", "& ", Compare::kExact);
}

void ReplacePhrase(std::string& script, const std::string& phrase, const std::string& value) {
  if (script.find(phrase) == std::string::npos) return;
  ReplaceText(script, "\" & " + phrase + " & \"", value, Compare::kExact);
  ReplaceText(script, "\" & " + phrase, value, Compare::kExact);
  ReplaceText(script, phrase + " & \"", value, Compare::kExact);
  ReplaceText(script, phrase, value, Compare::kExact);
}

void ReplaceDatePhrases(std::string& script, const platform::Clock& clock) {
  ReplacePhrase(script, "GetDay()", GetDay(clock.LocalNow()));
  ReplacePhrase(script, "GetDate()", GetDate(clock.LocalNow()));
  ReplacePhrase(script, "GetTimeOfDay()", GetTimeOfDay(clock.LocalNow()));
  ReplacePhrase(script, "GetTime()", GetTime(clock.LocalNow()));
}

std::string SubstituteScript(Player& player, std::string script) {
  ReplaceScreenWords(script, player.characters().loaded, player.startup().screen_width_px,
                     player.startup().screen_height_px);
  JoinBlanks(script);
  ReplaceDatePhrases(script, player.clock());
  return script;
}

double ParseOption(Player& player, std::string text) {
  for (const CharEntry& entry : player.characters().loaded) {
    if (FindText(text, entry.id + ".", 0, Compare::kIgnoreAsciiCase) == std::string::npos) continue;
    try {
      const platform::AgentCharacter& character = player.agent().Character(entry.id);
      ReplaceReference(text, entry.id, ".Left", character.Left());
      ReplaceReference(text, entry.id, ".Top", character.Top());
      ReplaceReference(text, entry.id, ".Width", character.Width());
      ReplaceReference(text, entry.id, ".Height", character.Height());
    } catch (const RuntimeError&) {
    }
  }
  return CEval().Evaluate(text);
}

}  // namespace rirerazo
