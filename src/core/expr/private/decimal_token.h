// Reads a number token of the evaluator: digits with at most one "." anywhere ("5.", ".5",
// "12.75"), "." always the decimal point whatever the locale. Kept private to the
// evaluator so that it depends on nothing outside this folder.
#pragma once

#include <string_view>

namespace rirerazo::expr {

// True for a run of 0-9 and "." holding at least one digit and at most one ".".
bool IsDecimalToken(std::string_view token);

// The value of a decimal token, correctly rounded. A value too small for a double reads as
// 0 (or the nearest subnormal); a value too large raises RuntimeError 6 "Overflow"; a text
// that is not a decimal token raises 13 "Type mismatch".
double DecimalTokenToDouble(std::string_view token);

}  // namespace rirerazo::expr
