// Whole-text replacement as the substitutions need it: one left-to-right pass, matches do
// not overlap and replaced text is not searched again.
#pragma once

#include <string>
#include <string_view>

namespace rirerazo {

enum class Compare { kExact, kIgnoreAsciiCase };

// Replaces every occurrence of `find` (non-empty) in `text`. Returns true when anything was
// replaced. When nothing matches, `text` is left untouched and no copy is made.
bool ReplaceAll(std::string& text, std::string_view find, std::string_view replacement,
                Compare compare);

// The position of `find` in `text` from `from` on, or npos; ASCII letters match either case.
std::size_t FindIgnoreAsciiCase(std::string_view text, std::string_view find,
                                std::size_t from = 0);

}  // namespace rirerazo
