// Speech text with its tags taken apart: what the balloon shows, what the engine says, and
// the ordered items (words, bookmarks, pauses, voice changes) that pace both.
//
// Tags are a backslash, a tag name, an optional "=value" and a closing backslash:
//   \Mrk=n\ bookmark, \Pau=n\ pause (ms), \Spd=n\ speed (words per minute), \Pit=n\ pitch,
//   \Vol=n\ volume, \Emp\ emphasise the next word, \Chr="Normal|Monotone|Whisper"\,
//   \Rst\ reset to the voice's defaults, \Lst\ repeat the character's last speech,
//   \Map="spoken"="shown"\ say one text while the balloon shows another.
// Tag names ignore letter case. The names of other engine tags (Ctx, Eng, Prn, Pro, Prt, RmS,
// RPit, RSpd, Vce, Com) are recognised and dropped. A tag with a bad value is dropped. "\\" is
// one backslash. A backslash that does not begin a complete tag of a known name is ordinary
// text, so paths such as C:\Shows\a.wav stay readable.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace rirerazo::runtime {

enum class SpeechItemKind : std::uint8_t {
  kWord,
  kMark,
  kPause,
  kSpeed,
  kPitch,
  kVolume,
  kEmphasis,
  kVoiceCharacter,
  kReset,
};

enum class VoiceCharacter : std::int32_t { kNormal = 0, kMonotone = 1, kWhisper = 2 };

struct SpeechItem {
  SpeechItemKind kind = SpeechItemKind::kWord;
  std::int32_t value = 0;  // mark id, pause ms, speed, pitch, volume, VoiceCharacter
  // Words only: the word in SpeechText::spoken, and how much of SpeechText::shown the
  // balloon shows once speech reaches the word.
  std::uint32_t spoken_begin = 0;
  std::uint32_t spoken_length = 0;
  std::uint32_t shown_end = 0;
};

struct SpeechText {
  std::string shown;   // the balloon's text: no tags, mapped texts in their shown form
  std::string spoken;  // what the engine says: no tags, mapped texts in their spoken form
  std::vector<SpeechItem> items;
  bool repeat_last = false;  // the text is \Lst\ alone

  std::string_view Word(const SpeechItem& item) const {
    return std::string_view(spoken).substr(item.spoken_begin, item.spoken_length);
  }
};

// Never fails: whatever is not a well-formed tag is text.
SpeechText ParseSpeechText(std::string_view text);

}  // namespace rirerazo::runtime
