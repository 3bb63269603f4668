#include "core/media/html_color.h"

#include "core/util/ascii.h"

namespace rirerazo::media {

namespace {

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

}  // namespace

ParsedColor ParseColorText(std::string_view text) {
  std::string digits = util::UCase(text);
  if (digits.starts_with('#')) digits.erase(0, 1);
  if (digits.starts_with("&H")) digits.erase(0, 2);
  if (digits.size() < 6) digits.insert(0, 6 - digits.size(), '0');
  ParsedColor color;
  color.swapped = digits.substr(digits.size() - 2) + digits.substr(2, 2) + digits.substr(0, 2);
  for (char c : color.swapped) {
    const int value = HexDigit(c);
    if (value < 0) return {0, false, color.swapped};
    color.bgr = color.bgr * 16 + static_cast<std::uint32_t>(value);
  }
  return color;
}

std::string InvalidColorMessage(const ParsedColor& color) {
  return "'" + color.swapped +
         "' is an invalid color.\r\n\r\nColors are specified using HTML format like #FF0000 for "
         "Red and #0000FF for Blue, etc.";
}

}  // namespace rirerazo::media
