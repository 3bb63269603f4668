#include "core/expr/private/decimal_token.h"

#include <algorithm>
#include <charconv>
#include <system_error>

#include "platform/runtime_error.h"

namespace rirerazo::expr {

namespace {

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

// True when the digits before the point are not all zero, so the value is at least 1.
bool HasWholePart(std::string_view token) {
  std::string_view whole = token.substr(0, token.find('.'));
  return std::any_of(whole.begin(), whole.end(), [](char c) { return c >= '1' && c <= '9'; });
}

}  // namespace

bool IsDecimalToken(std::string_view token) {
  std::size_t points = 0;
  std::size_t digits = 0;
  for (char c : token) {
    if (c == '.') {
      ++points;
    } else if (IsDigit(c)) {
      ++digits;
    } else {
      return false;
    }
  }
  return digits > 0 && points <= 1;
}

double DecimalTokenToDouble(std::string_view token) {
  if (!IsDecimalToken(token)) throw RuntimeError{err::kTypeMismatch, "Type mismatch"};
  double value = 0.0;
  const char* end = token.data() + token.size();
  auto [stop, ec] = std::from_chars(token.data(), end, value, std::chars_format::fixed);
  if (ec == std::errc::result_out_of_range) {
    // Out of range in the small direction is underflow: the nearest double is zero.
    if (!HasWholePart(token)) return 0.0;
    throw RuntimeError{err::kOverflow, "Overflow"};
  }
  if (ec != std::errc{} || stop != end) throw RuntimeError{err::kTypeMismatch, "Type mismatch"};
  return value;
}

}  // namespace rirerazo::expr
