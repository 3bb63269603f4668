// The player's text helpers. They work on byte strings, keep no state and raise nothing.
// "Blanks" are the space character only, as the classic Trim removes; positions in the
// comments are 1-based where a script author would count them.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace rirerazo::util {

inline constexpr char kDoubleQuote = '"';
inline constexpr std::string_view kDoubleCrLf = "\r\n\r\n";

// Spaces removed from both ends (left end, right end).
std::string_view Trim(std::string_view text);
std::string_view LTrim(std::string_view text);
std::string_view RTrim(std::string_view text);

// Blanks trimmed from both ends, then every leading and every trailing copy of `chars`
// (compared with ASCII letters folded) removed. Blanks uncovered by that removal stay.
// An empty `chars` only trims blanks.
std::string TrimChars(std::string_view text, std::string_view chars);

// Blanks trimmed; one leading double quote and then one trailing double quote dropped;
// blanks trimmed again.
std::string UnQuote(std::string_view pstrText);

// Doubled quotes as script authors write them: a run of four double quotes becomes two and
// any other run of one to three becomes one; a longer run keeps one quote per complete
// group of four plus one more (five -> two, eight -> three).
std::string FixQuotes(std::string_view text);

// Splits `text` at every occurrence of `delimiter` (exact, case-sensitive), trimming
// blanks from the text and from each item. An empty text, or one of blanks only, gives no
// items. A delimiter at the very end gives no empty last item ("A\0BC\0" gives A and BC),
// but one between two delimiters does. Quotes have no special meaning. At most 32767
// items are returned (the count is a 16-bit number); the rest of the text is dropped, as
// any failure of the classic function ended it with the items collected so far. An empty
// delimiter gives the whole trimmed text as one item.
std::vector<std::string> ParseStringIntoArray(std::string_view text, std::string_view delimiter);

// `text` with every occurrence of `from` replaced by `to` (left to right, no overlap). An
// empty `from` leaves the text unchanged.
std::string ReplaceAll(std::string_view text, std::string_view from, std::string_view to);

}  // namespace rirerazo::util
