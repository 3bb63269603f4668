#include "core/agent/speech_text.h"

#include <string_view>

#include "core/interp/replace_text.h"
#include "core/util/text.h"

namespace rirerazo {
namespace {

constexpr std::string_view kPlayerName = "VORN";
constexpr std::string_view kPlayerNameTag = "\\Map=\"Vorn\"=\"VORN\"\\";

void ReplaceUntilGone(std::string& text, std::string_view find, std::string_view replacement) {
  while (ReplaceText(text, find, replacement, Compare::kExact)) {
  }
}

bool ShowsPlayerName(std::string_view text) {
  if (text.starts_with("VORN ") || text.ends_with(kPlayerName)) return true;
  if (text.size() >= 5 && text.substr(text.size() - 5, 4) == kPlayerName) return true;
  return text.find(" VORN ") != std::string_view::npos;
}

}  // namespace

SpeechParts SplitSpeech(const std::string& text, const std::string& sound_path) {
  std::string work(util::Trim(text));
  ReplaceUntilGone(work, "\" ", "\"");
  ReplaceUntilGone(work, " \"", "\"");
  if (work.starts_with(",\"")) work.insert(0, "\"\"");
  const std::size_t separator = work.find("\",\"");
  if (separator == std::string::npos) return SpeechParts{text, sound_path, false};
  return SpeechParts{util::UnQuote(work.substr(0, separator)),
                     util::UnQuote(work.substr(separator + 3)), true};
}

std::string TagPlayerName(const std::string& text) {
  if (!ShowsPlayerName(text)) return text;
  std::string tagged = text;
  ReplaceText(tagged, kPlayerName, kPlayerNameTag, Compare::kExact);
  return tagged;
}

}  // namespace rirerazo
