#include "core/util/numbers.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <string>

#include "platform/runtime_error.h"

namespace rirerazo::util {
namespace {

[[noreturn]] void Overflow() {
  throw RuntimeError(err::kOverflow, "Overflow");
}
[[noreturn]] void TypeMismatch() {
  throw RuntimeError(err::kTypeMismatch, "Type mismatch");
}

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

int HexDigitValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

// Walks a text for the scanner. In lenient mode (the leading-number reading) blanks, tabs
// and line feeds are invisible wherever they stand; in strict mode (whole-text conversion)
// every character counts.
class Cursor {
 public:
  Cursor(std::string_view text, bool lenient) : text_(text), lenient_(lenient) {}

  char Peek() {
    SkipBlanks();
    return pos_ < text_.size() ? text_[pos_] : '\0';
  }
  void Take() { end_ = ++pos_; }
  std::size_t End() const { return end_; }
  std::size_t Mark() const { return pos_; }
  void Reset(std::size_t mark, std::size_t end) {
    pos_ = mark;
    end_ = end;
  }

 private:
  void SkipBlanks() {
    while (lenient_ && pos_ < text_.size() &&
           (text_[pos_] == ' ' || text_[pos_] == '\t' || text_[pos_] == '\n')) {
      ++pos_;
    }
  }

  std::string_view text_;
  bool lenient_;
  std::size_t pos_ = 0;
  std::size_t end_ = 0;
};

// "&H..." or "&O..." after the '&' was taken; false when no digit follows the letter.
bool ScanRadix(Cursor& cur, int radix, double& value) {
  std::uint64_t magnitude = 0;
  bool any = false;
  bool too_big = false;
  for (;;) {
    const int digit = HexDigitValue(cur.Peek());
    if (digit < 0 || digit >= radix) break;
    cur.Take();
    any = true;
    magnitude = magnitude * radix + digit;
    if (magnitude > 0xFFFFFFFFull) {
      too_big = true;
      magnitude = 0xFFFFFFFFull + 1;  // stays above the limit without wrapping
    }
  }
  if (!any) return false;
  if (too_big) Overflow();
  if (magnitude <= 0xFFFF) {
    value = static_cast<std::int16_t>(static_cast<std::uint16_t>(magnitude));
  } else {
    value = static_cast<std::int32_t>(static_cast<std::uint32_t>(magnitude));
  }
  return true;
}

// The digits of a decimal number, gathered without blanks so that from_chars (which does
// not depend on the locale) can read them.
struct Decimal {
  std::string text;              // sign, digits, '.', digits, then "e" and the exponent
  long long exponent = 0;        // saturated; only its size matters beyond double range
  long long int_digits = 0;      // significant digits before the point
  long long fraction_zeros = 0;  // zeros after the point before the first significant digit
  bool seen_significant = false;
};

void ScanDigits(Cursor& cur, Decimal& d, bool fraction, bool& any) {
  while (IsDigit(cur.Peek())) {
    const char c = cur.Peek();
    cur.Take();
    any = true;
    d.text.push_back(c);
    if (c != '0') d.seen_significant = true;
    if (!fraction && d.seen_significant) ++d.int_digits;
    if (fraction && !d.seen_significant) ++d.fraction_zeros;
  }
}

void ScanExponent(Cursor& cur, Decimal& d) {
  const char letter = cur.Peek();
  if (letter != 'E' && letter != 'e' && letter != 'D' && letter != 'd') return;
  const std::size_t mark = cur.Mark();
  const std::size_t end = cur.End();
  cur.Take();
  bool negative = false;
  if (cur.Peek() == '+' || cur.Peek() == '-') {
    negative = cur.Peek() == '-';
    cur.Take();
  }
  if (!IsDigit(cur.Peek())) {
    cur.Reset(mark, end);  // "1E" and "1E+" read as 1
    return;
  }
  long long exponent = 0;
  while (IsDigit(cur.Peek())) {
    if (exponent < 1'000'000'000) exponent = exponent * 10 + (cur.Peek() - '0');
    cur.Take();
  }
  d.exponent = negative ? -exponent : exponent;
  d.text += 'e';
  d.text += std::to_string(d.exponent);
}

double DecimalValue(const Decimal& d) {
  double value = 0.0;
  const char* first = d.text.data();
  const char* last = first + d.text.size();
  const auto result = std::from_chars(first, last, value);
  if (result.ec == std::errc::result_out_of_range) {
    // Either too big for a double (an error) or too small (it becomes zero).
    const long long magnitude =
        d.int_digits > 0 ? d.int_digits + d.exponent : d.exponent - d.fraction_zeros;
    if (magnitude > 0) Overflow();
    return 0.0;
  }
  return value;
}

bool ScanDecimal(Cursor& cur, double& value) {
  Decimal d;
  if (cur.Peek() == '+' || cur.Peek() == '-') {
    if (cur.Peek() == '-') d.text.push_back('-');
    cur.Take();
  }
  bool any = false;
  ScanDigits(cur, d, false, any);
  if (cur.Peek() == '.') {
    cur.Take();
    d.text.push_back('.');
    ScanDigits(cur, d, true, any);
  }
  if (!any) return false;
  ScanExponent(cur, d);
  value = DecimalValue(d);
  return true;
}

NumberScan Scan(std::string_view text, bool lenient) {
  NumberScan scan;
  Cursor cur(text, lenient);
  if (cur.Peek() == '&') {
    cur.Take();
    const char letter = cur.Peek();
    const int radix = (letter == 'H' || letter == 'h')   ? 16
                      : (letter == 'O' || letter == 'o') ? 8
                                                         : 0;
    if (radix != 0) {
      cur.Take();
      scan.found = ScanRadix(cur, radix, scan.value);
    }
  } else {
    scan.found = ScanDecimal(cur, scan.value);
  }
  if (!scan.found) return NumberScan{};
  scan.end = cur.End();
  return scan;
}

std::string_view TrimBlanksAndTabs(std::string_view text) {
  const std::size_t first = text.find_first_not_of(" \t");
  if (first == std::string_view::npos) return {};
  const std::size_t last = text.find_last_not_of(" \t");
  return text.substr(first, last - first + 1);
}

}  // namespace

NumberScan ScanNumber(std::string_view text) {
  return Scan(text, true);
}

double Val(std::string_view text) {
  return Scan(text, true).value;
}

double RoundHalfEven(double value) {
  if (!std::isfinite(value)) return value;
  const double floor = std::floor(value);
  const double fraction = value - floor;  // exact for every double
  if (fraction > 0.5) return floor + 1.0;
  if (fraction < 0.5) return floor;
  return std::fmod(floor, 2.0) == 0.0 ? floor : floor + 1.0;
}

std::int16_t RoundToInt16(double value) {
  const double rounded = RoundHalfEven(value);
  if (!(rounded >= -32768.0 && rounded <= 32767.0)) Overflow();  // NaN fails both tests
  return static_cast<std::int16_t>(rounded);
}

std::int32_t RoundToInt32(double value) {
  const double rounded = RoundHalfEven(value);
  if (!(rounded >= -2147483648.0 && rounded <= 2147483647.0)) Overflow();
  return static_cast<std::int32_t>(rounded);
}

double TextToDouble(std::string_view text) {
  const std::string_view trimmed = TrimBlanksAndTabs(text);
  const NumberScan scan = Scan(trimmed, false);
  if (!scan.found || scan.end != trimmed.size()) TypeMismatch();
  return scan.value;
}

std::int16_t TextToInt16(std::string_view text) {
  return RoundToInt16(TextToDouble(text));
}

std::int32_t TextToInt32(std::string_view text) {
  return RoundToInt32(TextToDouble(text));
}

}  // namespace rirerazo::util
