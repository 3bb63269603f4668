// Text at the edge where it is shown or spoken. Script text is bytes; a byte string that
// is valid UTF-8 is taken as UTF-8, anything else as Windows-1252 (what legacy scripts
// were written in).
#pragma once

#include <string>
#include <string_view>

namespace rirerazo {

// True when `bytes` is well-formed UTF-8 (no overlong forms, no surrogates, <= U+10FFFF).
bool IsValidUtf8(std::string_view bytes);

// The text as UTF-8: unchanged when it already is, else decoded from Windows-1252
// (bytes with no character there become U+FFFD).
std::string DisplayTextUtf8(std::string_view bytes);

}  // namespace rirerazo
