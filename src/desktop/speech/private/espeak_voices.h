// Which synthesiser voice speaks for a character: from its TTSModeID when that names a
// classic engine voice we know or one of the synthesiser's own voices, else from its
// language id. Voice names are the synthesiser's voice file names ("en-us", "de", "cmn"),
// optionally with "+variant" ("en-us+f2": a female variant).
#pragma once

#include <cstdint>
#include <optional>
#include <set>
#include <string>
#include <string_view>

namespace rirerazo::desktop {

// The voice for a classic engine's mode id (a GUID in braces, letter case ignored), nullopt
// for any other text.
std::optional<std::string> ClassicModeVoice(std::string_view mode_id);

// The voice for a Windows language id among the installed voice names (lower-case file
// names), nullopt when none speaks it.
std::optional<std::string> LanguageVoice(std::int32_t language_id,
                                         const std::set<std::string>& installed);

// The synthesiser's pitch setting (0..100, 50 the voice's own) for a baseline in hertz; 0
// keeps the voice's own.
int EspeakPitch(std::int32_t pitch_hz);
// The synthesiser's rate (words per minute, within what it accepts); 0: its default.
int EspeakRate(std::int32_t words_per_minute);

inline constexpr int kEspeakDefaultRate = 175;
inline constexpr int kEspeakDefaultPitch = 50;
// The baseline pitch taken to match the synthesiser's default pitch setting.
inline constexpr std::int32_t kReferencePitchHz = 120;

}  // namespace rirerazo::desktop
