#include <algorithm>
#include <array>
#include <cctype>

#include "desktop/speech/private/espeak_voices.h"
#include "runtime/language_tags.h"

namespace rirerazo::desktop {

namespace {

struct ModeVoice {
  std::string_view mode_id;  // upper case, with braces
  std::string_view voice;
};

// The classic engines' voices that character scripts name, each with a voice of the same
// language and sex: the American English engine's eight male and two female voices, and the
// male and female voice of each language of the multilingual engine.
constexpr std::array<ModeVoice, 30> kModeVoices = {{
    {"{CA141FD0-AC7F-11D1-97A3-006008273000}", "en-us+m1"},
    {"{CA141FD0-AC7F-11D1-97A3-006008273001}", "en-us+m2"},
    {"{CA141FD0-AC7F-11D1-97A3-006008273002}", "en-us+m3"},
    {"{CA141FD0-AC7F-11D1-97A3-006008273003}", "en-us+m4"},
    {"{CA141FD0-AC7F-11D1-97A3-006008273004}", "en-us+m5"},
    {"{CA141FD0-AC7F-11D1-97A3-006008273005}", "en-us+m6"},
    {"{CA141FD0-AC7F-11D1-97A3-006008273006}", "en-us+m7"},
    {"{CA141FD0-AC7F-11D1-97A3-006008273007}", "en-us+m8"},
    {"{CA141FD0-AC7F-11D1-97A3-006008273008}", "en-us+f1"},
    {"{CA141FD0-AC7F-11D1-97A3-006008273009}", "en-us+f2"},
    {"{227A0E40-A92A-11D1-B17B-0020AFED142E}", "en+f3"},
    {"{227A0E41-A92A-11D1-B17B-0020AFED142E}", "en+m3"},
    {"{A0DDCA40-A92C-11D1-B17B-0020AFED142E}", "nl+f1"},
    {"{A0DDCA41-A92C-11D1-B17B-0020AFED142E}", "nl+m1"},
    {"{0879A4E0-A92C-11D1-B17B-0020AFED142E}", "fr+f1"},
    {"{0879A4E1-A92C-11D1-B17B-0020AFED142E}", "fr+m1"},
    {"{3A1FB760-A92B-11D1-B17B-0020AFED142E}", "de+f1"},
    {"{3A1FB761-A92B-11D1-B17B-0020AFED142E}", "de+m1"},
    {"{7EF71700-A92D-11D1-B17B-0020AFED142E}", "it+f1"},
    {"{7EF71701-A92D-11D1-B17B-0020AFED142E}", "it+m1"},
    {"{A778E060-A936-11D1-B17B-0020AFED142E}", "ja+f1"},
    {"{A778E061-A936-11D1-B17B-0020AFED142E}", "ja+m1"},
    {"{12E0B720-A936-11D1-B17B-0020AFED142E}", "ko+f1"},
    {"{12E0B721-A936-11D1-B17B-0020AFED142E}", "ko+m1"},
    {"{8AA08CA0-A1AE-11D3-9BC5-00A0C967A2D1}", "pt-br+f1"},
    {"{8AA08CA1-A1AE-11D3-9BC5-00A0C967A2D1}", "pt-br+m1"},
    {"{06377F80-D48E-11D1-B17B-0020AFED142E}", "ru+f1"},
    {"{06377F81-D48E-11D1-B17B-0020AFED142E}", "ru+m1"},
    {"{2CE326E0-A935-11D1-B17B-0020AFED142E}", "es+f1"},
    {"{2CE326E1-A935-11D1-B17B-0020AFED142E}", "es+m1"},
}};

std::string Upper(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = char(std::toupper(static_cast<unsigned char>(c)));
  return out;
}
std::string Lower(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = char(std::tolower(static_cast<unsigned char>(c)));
  return out;
}

std::string_view Trim(std::string_view text) {
  while (!text.empty() && std::isspace(static_cast<unsigned char>(text.front()))) {
    text.remove_prefix(1);
  }
  while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back()))) {
    text.remove_suffix(1);
  }
  return text;
}

}  // namespace

std::optional<std::string> ClassicModeVoice(std::string_view mode_id) {
  std::string key = Upper(Trim(mode_id));
  if (!key.empty() && key.front() != '{') key = "{" + key + "}";
  for (const ModeVoice& entry : kModeVoices) {
    if (entry.mode_id == key) return std::string(entry.voice);
  }
  return std::nullopt;
}

// The region's own voice first ("en-us", "pt-br"), then the language's ("de" for de-DE).
// Chinese of either script is spoken by the Mandarin voice; British English is the
// synthesiser's plain English voice.
std::optional<std::string> LanguageVoice(std::int32_t language_id,
                                         const std::set<std::string>& installed) {
  std::optional<std::string_view> tag = runtime::LanguageTag(language_id);
  if (!tag) return std::nullopt;
  const std::string full = Lower(*tag);
  const std::string primary = full.substr(0, full.find('-'));
  for (const std::string& name : {full, primary == "zh" ? std::string("cmn") : primary}) {
    if (installed.count(name)) return name;
  }
  return std::nullopt;
}

int EspeakPitch(std::int32_t pitch_hz) {
  if (pitch_hz <= 0) return kEspeakDefaultPitch;
  return std::clamp(int(std::int64_t(pitch_hz) * kEspeakDefaultPitch / kReferencePitchHz), 0, 100);
}

int EspeakRate(std::int32_t words_per_minute) {
  if (words_per_minute <= 0) return kEspeakDefaultRate;
  return std::clamp(int(words_per_minute), 80, 450);
}

}  // namespace rirerazo::desktop
