// Whole-text search and replacement as the substitutions need them: one left-to-right
// pass, matches do not overlap and replaced text is not searched again. Letter case is
// folded for ASCII letters only. Linear in the text, so megabyte scripts stay cheap.
#pragma once

#include <string>
#include <string_view>

namespace rirerazo {

enum class Compare { kExact, kIgnoreAsciiCase };

// The position of the first `find` (non-empty) in `text` at or after `from`, or npos.
std::size_t FindText(std::string_view text, std::string_view find, std::size_t from,
                     Compare compare);

// Replaces every occurrence of `find` (non-empty) in `text` in place. Returns true when
// anything was replaced; when nothing matches, `text` is left untouched and not copied.
bool ReplaceText(std::string& text, std::string_view find, std::string_view replacement,
                 Compare compare);

}  // namespace rirerazo
