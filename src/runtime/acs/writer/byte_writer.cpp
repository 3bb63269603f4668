#include "runtime/acs/writer/private/byte_writer.h"

#include <limits>

#include "platform/runtime_error.h"

namespace rirerazo::acs::writer {
namespace {

constexpr char32_t kReplacement = 0xFFFD;

// Decodes one UTF-8 sequence starting at `pos` and advances `pos` past it. Overlong forms,
// surrogates and values above U+10FFFF count as malformed; a malformed sequence consumes one
// byte so decoding resynchronises on the next one.
char32_t NextCodePoint(std::string_view text, std::size_t& pos) {
  const auto lead = static_cast<unsigned char>(text[pos]);
  if (lead < 0x80) {
    ++pos;
    return lead;
  }
  const int extra = lead >= 0xF0 ? 3 : lead >= 0xE0 ? 2 : lead >= 0xC0 ? 1 : 0;
  if (extra == 0 || lead > 0xF4 || pos + extra >= text.size()) {
    ++pos;
    return kReplacement;
  }
  char32_t value = lead & (0x3F >> extra);
  for (int i = 1; i <= extra; ++i) {
    const auto next = static_cast<unsigned char>(text[pos + i]);
    if ((next & 0xC0) != 0x80) {
      ++pos;
      return kReplacement;
    }
    value = (value << 6) | (next & 0x3F);
  }
  static constexpr char32_t kMinimum[] = {0, 0x80, 0x800, 0x10000};
  const bool bad =
      value < kMinimum[extra] || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF);
  pos += bad ? 1 : extra + 1;
  return bad ? kReplacement : value;
}

}  // namespace

std::u16string Utf8ToUtf16(std::string_view utf8) {
  std::u16string out;
  out.reserve(utf8.size());
  std::size_t pos = 0;
  while (pos < utf8.size()) {
    const char32_t cp = NextCodePoint(utf8, pos);
    if (cp < 0x10000) {
      out.push_back(static_cast<char16_t>(cp));
    } else {
      out.push_back(static_cast<char16_t>(0xD800 + ((cp - 0x10000) >> 10)));
      out.push_back(static_cast<char16_t>(0xDC00 + ((cp - 0x10000) & 0x3FF)));
    }
  }
  return out;
}

void ByteWriter::U16(std::uint16_t value) {
  bytes_.push_back(static_cast<std::uint8_t>(value));
  bytes_.push_back(static_cast<std::uint8_t>(value >> 8));
}

void ByteWriter::U32(std::uint32_t value) {
  U16(static_cast<std::uint16_t>(value));
  U16(static_cast<std::uint16_t>(value >> 16));
}

void ByteWriter::WriteGuid(const Guid& guid) {
  U32(guid.data1);
  U16(guid.data2);
  U16(guid.data3);
  Bytes(guid.data4);
}

void ByteWriter::String(std::string_view utf8) {
  const std::u16string units = Utf8ToUtf16(utf8);
  if (units.size() > std::numeric_limits<std::uint32_t>::max() / 4) {
    throw RuntimeError(err::kOverflow, "string too long for a character file");
  }
  U32(static_cast<std::uint32_t>(units.size()));
  if (units.empty()) return;
  for (char16_t unit : units) U16(unit);
  U16(0);
}

void ByteWriter::PaletteColor(const Color& color) {
  U8(color.blue);
  U8(color.green);
  U8(color.red);
  U8(0);
}

void ByteWriter::ColorRef(const Color& color) {
  U8(color.red);
  U8(color.green);
  U8(color.blue);
  U8(0);
}

void ByteWriter::PatchU32(std::size_t position, std::uint32_t value) {
  for (int i = 0; i < 4; ++i) bytes_[position + i] = static_cast<std::uint8_t>(value >> (8 * i));
}

}  // namespace rirerazo::acs::writer
