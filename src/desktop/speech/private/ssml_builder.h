// Speech text as the synthesiser's markup: the spoken words with their punctuation, a mark
// element per bookmark, breaks for pauses, prosody for speed, pitch, volume and voice
// character, emphasis for the emphasised word. No tag of ours reaches the synthesiser as
// text, and the text is escaped, so "<" or "&" in speech is spoken, not parsed.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "runtime/speech_tags.h"

namespace rirerazo::desktop {

// The voice the prosody values are relative to.
struct SsmlVoice {
  std::int32_t words_per_minute = 175;
  std::int32_t pitch_hz = 120;
};

struct SsmlText {
  std::string markup;
  // Per word item, in order: its index in SpeechText::items and the position (in Unicode
  // characters from the start of `markup`) where the word begins. The synthesiser reports
  // words by character position, so this maps its reports back to our items.
  struct WordAnchor {
    std::uint32_t item = 0;
    std::uint32_t char_offset = 0;
  };
  std::vector<WordAnchor> words;
};

SsmlText BuildSsml(const runtime::SpeechText& text, const SsmlVoice& voice);

// `text` with &, <, >, " and ' replaced by entities.
std::string EscapeXml(std::string_view text);

}  // namespace rirerazo::desktop
