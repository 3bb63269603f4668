#include "runtime/acs/private/byte_reader.h"

#include <cstdio>

#include "platform/runtime_error.h"

namespace rirerazo::acs::detail {

void ThrowFormatError(std::string_view source, std::string_view block, std::uint64_t offset,
                      std::string_view what) {
  std::string message;
  if (!source.empty()) message.append(source).append(": ");
  message.append(block).append(" at offset ").append(HexOffset(offset)).append(": ");
  message.append(what);
  throw RuntimeError(kInvalidCharacterFile, message);
}

std::string HexOffset(std::uint64_t offset) {
  char text[24];
  std::snprintf(text, sizeof text, "0x%llX", static_cast<unsigned long long>(offset));
  return text;
}

namespace {

void AppendCodePoint(std::uint32_t code_point, std::string& out) {
  if (code_point < 0x80) {
    out.push_back(char(code_point));
  } else if (code_point < 0x800) {
    out.push_back(char(0xC0 | (code_point >> 6)));
    out.push_back(char(0x80 | (code_point & 0x3F)));
  } else if (code_point < 0x10000) {
    out.push_back(char(0xE0 | (code_point >> 12)));
    out.push_back(char(0x80 | ((code_point >> 6) & 0x3F)));
    out.push_back(char(0x80 | (code_point & 0x3F)));
  } else {
    out.push_back(char(0xF0 | (code_point >> 18)));
    out.push_back(char(0x80 | ((code_point >> 12) & 0x3F)));
    out.push_back(char(0x80 | ((code_point >> 6) & 0x3F)));
    out.push_back(char(0x80 | (code_point & 0x3F)));
  }
}

}  // namespace

void AppendUtf8FromUtf16(std::span<const std::uint8_t> utf16le, std::string& out) {
  constexpr std::uint32_t kReplacement = 0xFFFD;
  const std::size_t units = utf16le.size() / 2;
  auto unit = [&](std::size_t i) -> std::uint32_t {
    return std::uint32_t(utf16le[2 * i]) | (std::uint32_t(utf16le[2 * i + 1]) << 8);
  };
  for (std::size_t i = 0; i < units; ++i) {
    const std::uint32_t u = unit(i);
    if (u >= 0xD800 && u <= 0xDBFF && i + 1 < units && unit(i + 1) >= 0xDC00 &&
        unit(i + 1) <= 0xDFFF) {
      AppendCodePoint(0x10000 + ((u - 0xD800) << 10) + (unit(i + 1) - 0xDC00), out);
      ++i;
    } else if (u >= 0xD800 && u <= 0xDFFF) {
      AppendCodePoint(kReplacement, out);
    } else {
      AppendCodePoint(u, out);
    }
  }
}

ByteReader::ByteReader(std::span<const std::uint8_t> file, FileRange range, std::string_view source,
                       std::string block)
    : file_(file),
      offset_(range.offset),
      end_(std::uint64_t(range.offset) + range.size),
      source_(source),
      block_(std::move(block)) {
  if (end_ > file.size()) {
    ThrowFormatError(source_, block_, range.offset,
                     "block of " + std::to_string(range.size) +
                         " bytes runs past the end of "
                         "the file (" +
                         std::to_string(file.size()) + " bytes)");
  }
}

void ByteReader::Fail(std::string_view what) const {
  FailAt(offset_, what);
}

void ByteReader::FailAt(std::uint64_t offset, std::string_view what) const {
  ThrowFormatError(source_, block_, offset, what);
}

const std::uint8_t* ByteReader::Need(std::size_t size) {
  if (size > end_ - offset_) {
    Fail("needs " + std::to_string(size) + " bytes but the block ends at " + HexOffset(end_));
  }
  const std::uint8_t* at = file_.data() + offset_;
  offset_ += size;
  return at;
}

std::uint8_t ByteReader::U8() {
  return *Need(1);
}

std::uint16_t ByteReader::U16() {
  const std::uint8_t* p = Need(2);
  return std::uint16_t(p[0] | (p[1] << 8));
}

std::int16_t ByteReader::I16() {
  return static_cast<std::int16_t>(U16());
}

std::uint32_t ByteReader::U32() {
  const std::uint8_t* p = Need(4);
  return std::uint32_t(p[0]) | (std::uint32_t(p[1]) << 8) | (std::uint32_t(p[2]) << 16) |
         (std::uint32_t(p[3]) << 24);
}

std::int32_t ByteReader::I32() {
  return static_cast<std::int32_t>(U32());
}

Guid ByteReader::ReadGuid() {
  Guid guid;
  guid.data1 = U32();
  guid.data2 = U16();
  guid.data3 = U16();
  const std::uint8_t* p = Need(8);
  for (std::size_t i = 0; i < 8; ++i) guid.data4[i] = p[i];
  return guid;
}

std::string ByteReader::String(bool allow_missing_terminator) {
  const std::uint64_t start = offset_;
  const std::uint32_t units = U32();
  std::string text;
  if (units == 0) return text;
  if (std::uint64_t(units) * 2 > Remaining()) {
    FailAt(start, "string of " + std::to_string(units) + " characters runs past the block end " +
                      HexOffset(end_));
  }
  AppendUtf8FromUtf16(Bytes(std::size_t(units) * 2), text);
  if (allow_missing_terminator && Remaining() < 2) return text;
  if (U16() != 0) FailAt(offset_ - 2, "string terminator is not zero");
  return text;
}

std::span<const std::uint8_t> ByteReader::Bytes(std::size_t size) {
  const std::uint8_t* p = Need(size);
  return {p, size};
}

std::size_t ByteReader::Count(std::uint64_t count, std::size_t min_item_bytes,
                              std::string_view what) {
  if (count * min_item_bytes > Remaining()) {
    Fail(std::string(what) + " count " + std::to_string(count) + " cannot fit in the " +
         std::to_string(Remaining()) + " bytes left");
  }
  return std::size_t(count);
}

}  // namespace rirerazo::acs::detail
