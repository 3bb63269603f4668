// Colours as scripts write them ("#RRGGBB", "&HRRGGBB", "RRGGBB", short forms padded with
// leading zeros) turned into the 0x00BBGGRR layout of the backdrop.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace rirerazo::media {

struct ParsedColor {
  std::uint32_t bgr = 0;  // 0 (black) when the text is not a colour
  bool valid = true;
  // The text as it was when read as a number: upper-cased, prefixes dropped, padded to six
  // digits, first and last digit pairs swapped (what the invalid-colour message quotes).
  std::string swapped;
};

// Reads a colour without showing anything: upper-case; drop one "#", then one "&H"; pad
// with "0" in front to six characters; keep the last two, the middle two (third and
// fourth) and the first two characters in that order; read that as hexadecimal.
ParsedColor ParseColorText(std::string_view text);

// The invalid-colour message for a text that ParseColorText refused.
std::string InvalidColorMessage(const ParsedColor& color);

}  // namespace rirerazo::media
