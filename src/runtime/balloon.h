// The word balloon of one character: its settings (Style bits, font, the character file's
// defaults) and what it shows right now. A renderer draws from BalloonView; the runtime
// itself draws nothing.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "runtime/character_data.h"
#include "runtime/speech_tags.h"

namespace rirerazo::runtime {

// Style bits. Bits 16-23 carry the characters per line and bits 24-31 the number of lines;
// a zero field leaves that setting as it is.
inline constexpr std::int32_t kBalloonOn = 0x1;
inline constexpr std::int32_t kBalloonSizeToText = 0x2;
inline constexpr std::int32_t kBalloonAutoHide = 0x4;
inline constexpr std::int32_t kBalloonAutoPace = 0x8;

inline constexpr int kMinCharsPerLine = 8;
inline constexpr int kMaxFontSize = 1000;

struct BalloonSettings {
  bool enabled_by_file = true;  // a file without a balloon never shows one
  std::int32_t style = 0;       // the low four bits as last set
  std::string font_name;
  std::int32_t font_size = 8;
  int lines = 2;
  int chars_per_line = 32;
  std::uint32_t text_colour = 0;
  std::uint32_t back_colour = 0;
  std::uint32_t border_colour = 0;

  static BalloonSettings FromDefaults(const BalloonDefaults& defaults);
  // The full Style value: flags plus characters per line and lines.
  std::int32_t Style() const;
  void SetStyle(std::int32_t style);
  // Errors (RuntimeError 5) for an empty name and a size outside 1..1000.
  void SetFontName(const std::string& name);
  void SetFontSize(std::int32_t size);

  bool On() const { return enabled_by_file && (style & kBalloonOn) != 0; }
  bool AutoHide() const { return (style & kBalloonAutoHide) != 0; }
  bool AutoPace() const { return (style & kBalloonAutoPace) != 0; }
};

struct BalloonView {
  bool visible = false;
  bool thought = false;          // a Think balloon rather than a Speak balloon
  std::string_view text;         // the whole text of the current output, tags removed
  std::size_t shown_length = 0;  // how much of it is revealed (word by word when paced)
  const BalloonSettings* settings = nullptr;
  std::string_view Shown() const { return text.substr(0, shown_length); }
};

}  // namespace rirerazo::runtime
