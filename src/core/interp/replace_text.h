// Whole-text replacement as the substitutions need it: one left-to-right pass, matches do
// not overlap and replaced text is not searched again.
#pragma once

#include <string>
#include <string_view>

namespace rirerazo {

enum class Compare { kExact, kIgnoreAsciiCase };

// Replaces every occurrence of `find` (non-empty) in `text` in place. Returns true when
// anything was replaced; when nothing matches, `text` is left untouched and not copied.
bool ReplaceText(std::string& text, std::string_view find, std::string_view replacement,
                 Compare compare);

}  // namespace rirerazo
