// Setting values of a script file turned into a flag or a bounded number. Both read the
// leading number of the text (util::Val: blanks skipped, reading stops at the first
// character that cannot continue a number, no number is 0).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace rirerazo::script {

// "1" when the leading number is greater than 0, otherwise "0" (also when the number does
// not fit a double: the flag is then off).
std::string PositiveFlag(std::string_view text);

// `low` as decimal text when the leading number is below it, `high` when above it, else
// the text unchanged (so a text without a number, whose value 0 is in range, comes back
// as it was). "" when the number does not fit a double, which the caller's conversion then
// reports.
std::string ClampNumberText(std::string_view text, std::int32_t low, std::int32_t high);

}  // namespace rirerazo::script
