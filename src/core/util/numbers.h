// The classic conversions between text and numbers, in one place for the whole player.
//
// Leading number (`Val`, `ScanNumber`): blanks, tabs and line feeds are skipped wherever
// they occur; then an optional sign, digits with an optional decimal point, and an optional
// exponent (E or D, optional sign, digits); or "&H" and hexadecimal digits, or "&O" and
// octal digits. Reading stops at the first character that cannot continue the number; no
// number gives 0. A hexadecimal or octal value up to FFFF is a 16-bit signed number and up
// to FFFFFFFF a 32-bit one, so "&HFFFF" is -1 and "&H10000" is 65536.
//
// Whole-text conversion (`TextToDouble`, `TextToInt16`, `TextToInt32`): the text, with
// blanks and tabs around it, must be exactly one number of the forms above (no blanks
// inside, no thousands separators); anything else raises error 13 "Type mismatch".
//
// Conversion to an integer rounds to the nearest value, halves to the even one
// (2.5 -> 2, 3.5 -> 4, -2.5 -> -2); a result outside the target type raises error 6
// "Overflow". Numbers that do not fit a double raise error 6 as well; numbers too small
// for one become 0. Errors are rirerazo::RuntimeError.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace rirerazo::util {

struct NumberScan {
  double value = 0.0;
  std::size_t end = 0;  // byte position just after the last character of the number
  bool found = false;   // false: no number at the start (value 0, end 0)
};

// The leading number of `text`, with where it ends. Raises error 6 for a number that does
// not fit (1E400, a hexadecimal number above FFFFFFFF).
NumberScan ScanNumber(std::string_view text);

// The leading number of `text`; 0 when there is none. Raises error 6 as ScanNumber does.
double Val(std::string_view text);

// `value` rounded to the nearest whole number, halves to the even one. Infinities and NaN
// come back unchanged.
double RoundHalfEven(double value);

// Rounded (halves to even) and checked conversions; error 6 outside the type or for NaN.
std::int16_t RoundToInt16(double value);
std::int32_t RoundToInt32(double value);

// The whole text as a number; error 13 when it is not one, 6 when it does not fit.
double TextToDouble(std::string_view text);
std::int16_t TextToInt16(std::string_view text);
std::int32_t TextToInt32(std::string_view text);

}  // namespace rirerazo::util
