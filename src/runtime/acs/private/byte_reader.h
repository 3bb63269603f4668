// A bounds-checked little-endian cursor over one block of a character file.
//
// The cursor knows the whole file (so offsets in messages are absolute) and the window of the
// block being read; nothing is ever read outside that window. Every failure throws
// RuntimeError kInvalidCharacterFile whose description names the source, the block and the
// absolute offset, e.g. "Merlin.acs: animation directory: needs 4 bytes at offset 0x2140A6
// but the block ends at 0x2140A8".
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "runtime/acs/acs_file.h"

namespace rirerazo::acs::detail {

// Throws the file-format error for a block at an offset.
[[noreturn]] void ThrowFormatError(std::string_view source, std::string_view block,
                                   std::uint64_t offset, std::string_view what);

// "0x1A2B": the offsets in messages are hexadecimal, as in a hex viewer.
std::string HexOffset(std::uint64_t offset);

// Appends the UTF-8 form of UTF-16LE code units; unpaired surrogates become U+FFFD.
void AppendUtf8FromUtf16(std::span<const std::uint8_t> utf16le, std::string& out);

class ByteReader {
 public:
  // Reads the block [range.offset, range.offset + range.size) of file; throws when the range
  // does not lie inside the file.
  ByteReader(std::span<const std::uint8_t> file, FileRange range, std::string_view source,
             std::string block);

  std::uint8_t U8();
  std::uint16_t U16();
  std::int16_t I16();
  std::uint32_t U32();
  std::int32_t I32();
  Guid ReadGuid();
  // A u32 count of UTF-16 units, the units, and a u16 terminator when the count is non-zero.
  // With allow_missing_terminator, a terminator that would lie just past the block end is
  // tolerated (some authoring tools drop it on the last string of a block).
  std::string String(bool allow_missing_terminator = false);
  std::span<const std::uint8_t> Bytes(std::size_t size);
  void Skip(std::size_t size) { (void)Bytes(size); }

  // Checks that count items of at least min_item_bytes each can fit in what is left, so a
  // hostile count can never make the caller allocate or loop beyond the block's size.
  std::size_t Count(std::uint64_t count, std::size_t min_item_bytes, std::string_view what);

  std::uint64_t Offset() const { return offset_; }
  std::uint64_t End() const { return end_; }
  std::size_t Remaining() const { return std::size_t(end_ - offset_); }
  [[noreturn]] void Fail(std::string_view what) const;
  [[noreturn]] void FailAt(std::uint64_t offset, std::string_view what) const;

 private:
  const std::uint8_t* Need(std::size_t size);

  std::span<const std::uint8_t> file_;
  std::uint64_t offset_;
  std::uint64_t end_;
  std::string_view source_;  // outlives the reader (the caller's name)
  std::string block_;
};

}  // namespace rirerazo::acs::detail
