#include "runtime/language_tags.h"

#include <array>

namespace rirerazo::runtime {

namespace {

struct LanguageEntry {
  std::int32_t id;
  std::string_view tag;
};

// Sorted by id; the languages character voices were commonly made for.
constexpr std::array<LanguageEntry, 24> kLanguages = {{
    {0x0401, "ar-SA"}, {0x0403, "ca-ES"}, {0x0404, "zh-TW"}, {0x0405, "cs-CZ"}, {0x0406, "da-DK"},
    {0x0407, "de-DE"}, {0x0408, "el-GR"}, {0x0409, "en-US"}, {0x040A, "es-ES"}, {0x040B, "fi-FI"},
    {0x040C, "fr-FR"}, {0x040D, "he-IL"}, {0x040E, "hu-HU"}, {0x0410, "it-IT"}, {0x0411, "ja-JP"},
    {0x0412, "ko-KR"}, {0x0413, "nl-NL"}, {0x0414, "nb-NO"}, {0x0415, "pl-PL"}, {0x0416, "pt-BR"},
    {0x0419, "ru-RU"}, {0x041D, "sv-SE"}, {0x0804, "zh-CN"}, {0x0809, "en-GB"},
}};

}  // namespace

std::optional<std::string_view> LanguageTag(std::int32_t language_id) {
  if (language_id == 0x0C0A) return "es-ES";  // modern sort order of Spanish (Spain)
  if (language_id == 0x0816) return "pt-PT";
  for (const LanguageEntry& entry : kLanguages) {
    if (entry.id == language_id) return entry.tag;
  }
  return std::nullopt;
}

}  // namespace rirerazo::runtime
