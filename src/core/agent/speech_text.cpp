#include "core/agent/speech_text.h"

#include <string_view>

#include "core/interp/replace_text.h"
#include "core/util/text.h"

namespace rirerazo {
namespace {

constexpr std::string_view kPlayerName = "VORN";
constexpr std::string_view kPlayerNameTag = "\\Map=\"Vorn\"=\"VORN\"\\";

void ReplaceUntilGone(std::string& text, std::string_view find, std::string_view replacement) {
  while (ReplaceAll(text, find, replacement, Compare::kExact)) {
  }
}

std::string TrimBlanks(std::string_view text) {
  const std::size_t first = text.find_first_not_of(' ');
  if (first == std::string_view::npos) return {};
  const std::size_t last = text.find_last_not_of(' ');
  return std::string(text.substr(first, last - first + 1));
}

bool ShowsPlayerName(std::string_view text) {
  if (text.starts_with("VORN ") || text.ends_with(kPlayerName)) return true;
  if (text.size() >= 5 && text.substr(text.size() - 5, 4) == kPlayerName) return true;
  return text.find(" VORN ") != std::string_view::npos;
}

}  // namespace

SpeechParts SplitSpeech(const std::string& text, const std::string& sound_path) {
  std::string work = TrimBlanks(text);
  ReplaceUntilGone(work, "\" ", "\"");
  ReplaceUntilGone(work, " \"", "\"");
  if (work.starts_with(",\"")) work.insert(0, "\"\"");
  const std::size_t separator = work.find("\",\"");
  if (separator == std::string::npos) return SpeechParts{text, sound_path, false};
  return SpeechParts{UnQuote(work.substr(0, separator)), UnQuote(work.substr(separator + 3)),
                     true};
}

std::string TagPlayerName(const std::string& text) {
  if (!ShowsPlayerName(text)) return text;
  std::string tagged = text;
  ReplaceAll(tagged, kPlayerName, kPlayerNameTag, Compare::kExact);
  return tagged;
}

}  // namespace rirerazo
