#include "os/key_notation.h"

#include <array>
#include <string_view>

#include "platform/runtime_error.h"

namespace rirerazo::os {

namespace {

constexpr int kMaxGroupDepth = 32;
constexpr long kMaxRepeat = 10000;

struct NamedKey {
  std::string_view alias;
  std::string_view name;
  std::uint32_t keysym;
};

// Named keys with their X keysyms; aliases come after the canonical name.
constexpr std::array<NamedKey, 31> kNamedKeys{{
    {"BACKSPACE", "BACKSPACE", 0xff08},
    {"BS", "BACKSPACE", 0xff08},
    {"BKSP", "BACKSPACE", 0xff08},
    {"BREAK", "BREAK", 0xff6b},
    {"CAPSLOCK", "CAPSLOCK", 0xffe5},
    {"DELETE", "DELETE", 0xffff},
    {"DEL", "DELETE", 0xffff},
    {"DOWN", "DOWN", 0xff54},
    {"END", "END", 0xff57},
    {"ENTER", "ENTER", 0xff0d},
    {"ESC", "ESC", 0xff1b},
    {"ESCAPE", "ESC", 0xff1b},
    {"HELP", "HELP", 0xff6a},
    {"HOME", "HOME", 0xff50},
    {"INSERT", "INSERT", 0xff63},
    {"INS", "INSERT", 0xff63},
    {"LEFT", "LEFT", 0xff51},
    {"NUMLOCK", "NUMLOCK", 0xff7f},
    {"PGDN", "PGDN", 0xff56},
    {"PGUP", "PGUP", 0xff55},
    {"PRTSC", "PRTSC", 0xff61},
    {"RIGHT", "RIGHT", 0xff53},
    {"SCROLLLOCK", "SCROLLLOCK", 0xff14},
    {"TAB", "TAB", 0xff09},
    {"UP", "UP", 0xff52},
    {"ADD", "ADD", 0xffab},
    {"SUBTRACT", "SUBTRACT", 0xffad},
    {"MULTIPLY", "MULTIPLY", 0xffaa},
    {"DIVIDE", "DIVIDE", 0xffaf},
    {"SPACE", "SPACE", 0x0020},
    {"WIN", "WIN", 0xffeb},
}};

// The code points of Windows-1252 bytes 0x80..0x9F (0 where the byte is unassigned).
constexpr std::array<char32_t, 32> kCp1252High{
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

[[noreturn]] void Invalid() {
  throw RuntimeError(err::kInvalidProcedureCall, "Invalid procedure call or argument");
}

// Decodes one UTF-8 sequence at `pos`; returns its length, 0 when it is not valid.
std::size_t Utf8Length(std::string_view text, std::size_t pos, char32_t& out) {
  const auto lead = static_cast<unsigned char>(text[pos]);
  std::size_t length = lead < 0x80         ? 1
                       : (lead >> 5) == 6  ? 2
                       : (lead >> 4) == 14 ? 3
                       : (lead >> 3) == 30 ? 4
                                           : 0;
  if (length == 0 || pos + length > text.size()) return 0;
  out = length == 1 ? lead : lead & (0x7F >> length);
  for (std::size_t i = 1; i < length; ++i) {
    const auto next = static_cast<unsigned char>(text[pos + i]);
    if ((next & 0xC0) != 0x80) return 0;
    out = (out << 6) | (next & 0x3F);
  }
  const char32_t min_for_length[] = {0, 0, 0x80, 0x800, 0x10000};
  if (out < min_for_length[length] || out > 0x10FFFF || (out >= 0xD800 && out <= 0xDFFF)) return 0;
  return length;
}

std::u32string Decode(std::string_view text) {
  std::u32string utf8;
  for (std::size_t pos = 0; pos < text.size();) {
    char32_t c = 0;
    const std::size_t length = Utf8Length(text, pos, c);
    if (length == 0) {
      std::u32string legacy;
      for (unsigned char byte : text) {
        legacy += byte >= 0x80 && byte < 0xA0 && kCp1252High[byte - 0x80] != 0
                      ? kCp1252High[byte - 0x80]
                      : static_cast<char32_t>(byte);
      }
      return legacy;
    }
    utf8 += c;
    pos += length;
  }
  return utf8;
}

std::uint32_t KeysymOf(char32_t c) {
  if (c == '\t') return 0xff09;
  if (c == '\n' || c == '\r') return 0xff0d;
  if ((c >= 0x20 && c < 0x7F) || (c >= 0xA0 && c <= 0xFF)) return c;
  return 0x01000000u + static_cast<std::uint32_t>(c);
}

char32_t Upper(char32_t c) {
  return c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c;
}

class Parser {
 public:
  explicit Parser(std::u32string text) : text_(std::move(text)) {}

  std::vector<KeyStroke> Run() {
    Sequence(0, 0);
    if (pos_ != text_.size()) Invalid();  // a ')' without its '('
    return strokes_;
  }

 private:
  // sequence := item*   (ends at the end of the text or at a ')')
  void Sequence(unsigned modifiers, int depth) {
    while (pos_ < text_.size() && text_[pos_] != ')') Item(modifiers, depth);
  }

  // item := modifier* ( '(' sequence ')' | key )
  void Item(unsigned modifiers, int depth) {
    while (pos_ < text_.size() && Modifier(text_[pos_]) != 0) modifiers |= Modifier(text_[pos_++]);
    if (pos_ >= text_.size() || text_[pos_] == ')') Invalid();
    if (text_[pos_] != '(') return Key(modifiers);
    if (depth + 1 > kMaxGroupDepth) Invalid();
    ++pos_;
    Sequence(modifiers, depth + 1);
    if (pos_ >= text_.size()) Invalid();
    ++pos_;
  }

  // key := '{' braced '}' | '~' | any other character except '}'
  void Key(unsigned modifiers) {
    const char32_t c = text_[pos_++];
    if (c == '{') return Braced(modifiers);
    if (c == '}') Invalid();
    if (c == '~') return Add({"ENTER", 0, 0xff0d, modifiers}, 1);
    Add({"", c, KeysymOf(c), modifiers}, 1);
  }

  // braced := (character | name) [' ' count]; "{}}" quotes the closing brace.
  void Braced(unsigned modifiers) {
    if (pos_ >= text_.size()) Invalid();
    // The first character inside the braces always belongs to the body: "{}}" quotes '}'.
    const std::size_t close = text_.find('}', pos_ + 1);
    if (close == std::u32string::npos) Invalid();
    std::u32string body = text_.substr(pos_, close - pos_);
    pos_ = close + 1;
    long count = 1;
    const std::size_t blank = body.rfind(' ');
    if (blank != std::u32string::npos && blank > 0 && blank + 1 < body.size()) {
      count = Count(body.substr(blank + 1));
      body.resize(blank);
    }
    if (body.size() == 1) return Add({"", body[0], KeysymOf(body[0]), modifiers}, count);
    Add(Named(body, modifiers), count);
  }

  static long Count(const std::u32string& digits) {
    long count = 0;
    for (char32_t d : digits) {
      if (d < '0' || d > '9') Invalid();
      count = count * 10 + static_cast<long>(d - '0');
      if (count > kMaxRepeat) Invalid();
    }
    return count;
  }

  static KeyStroke Named(const std::u32string& body, unsigned modifiers) {
    std::string upper;
    for (char32_t c : body) {
      if (c >= 0x80) Invalid();
      upper += static_cast<char>(Upper(c));
    }
    for (const auto& key : kNamedKeys) {
      if (key.alias == upper) return {std::string(key.name), 0, key.keysym, modifiers};
    }
    if (upper.size() >= 2 && upper.size() <= 3 && upper[0] == 'F') {
      const std::u32string number = body.substr(1);
      const long n = Count(number);
      if (n >= 1 && n <= 16)
        return {upper, 0, 0xffbe + static_cast<std::uint32_t>(n - 1), modifiers};
    }
    Invalid();
  }

  void Add(const KeyStroke& stroke, long count) {
    for (long i = 0; i < count; ++i) strokes_.push_back(stroke);
  }

  static unsigned Modifier(char32_t c) {
    return c == '+'   ? key_modifier::kShift
           : c == '^' ? key_modifier::kControl
           : c == '%' ? key_modifier::kAlt
                      : 0;
  }

  std::u32string text_;
  std::size_t pos_ = 0;
  std::vector<KeyStroke> strokes_;
};

}  // namespace

std::vector<KeyStroke> ParseKeyNotation(const std::string& text) {
  return Parser(Decode(text)).Run();
}

}  // namespace rirerazo::os
