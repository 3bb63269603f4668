#include "runtime/balloon.h"

#include <algorithm>

#include "platform/runtime_error.h"

namespace rirerazo::runtime {

BalloonSettings BalloonSettings::FromDefaults(const BalloonDefaults& defaults) {
  BalloonSettings settings;
  settings.enabled_by_file = defaults.enabled;
  settings.style = kBalloonOn | (defaults.size_to_text ? kBalloonSizeToText : 0) |
                   (defaults.auto_hide ? kBalloonAutoHide : 0) |
                   (defaults.auto_pace ? kBalloonAutoPace : 0);
  settings.font_name = defaults.font_name;
  settings.font_size = defaults.font_size;
  settings.lines = defaults.lines;
  settings.chars_per_line = defaults.chars_per_line;
  settings.text_colour = defaults.text_colour;
  settings.back_colour = defaults.back_colour;
  settings.border_colour = defaults.border_colour;
  return settings;
}

std::int32_t BalloonSettings::Style() const {
  std::uint32_t value = std::uint32_t(style & 0xF) | (std::uint32_t(chars_per_line & 0xFF) << 16) |
                        (std::uint32_t(lines & 0xFF) << 24);
  return std::int32_t(value);
}

void BalloonSettings::SetStyle(std::int32_t value) {
  std::uint32_t bits = std::uint32_t(value);
  style = std::int32_t(bits & 0xF);
  int chars = int((bits >> 16) & 0xFF);
  int line_count = int((bits >> 24) & 0xFF);
  if (chars != 0) chars_per_line = std::max(chars, kMinCharsPerLine);
  if (line_count != 0) lines = line_count;
}

void BalloonSettings::SetFontName(const std::string& name) {
  if (name.empty()) throw RuntimeError(err::kInvalidProcedureCall, "The font name is empty.");
  font_name = name;
}

void BalloonSettings::SetFontSize(std::int32_t size) {
  if (size < 1 || size > kMaxFontSize) {
    throw RuntimeError(err::kInvalidProcedureCall,
                       "The font size " + std::to_string(size) + " is outside 1 to 1000.");
  }
  font_size = size;
}

}  // namespace rirerazo::runtime
