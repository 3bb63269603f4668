// Older-generation character files: the compound file is opened, the character stream and
// every animation stream it lists are inflated, and the result is mapped onto the same model
// a current file gives. Inflated animation streams are kept side by side in one buffer, which
// becomes the character's file bytes.
#include <set>

#include "platform/runtime_error.h"
#include "runtime/acs/private/compound_file.h"
#include "runtime/acs/private/decompress.h"
#include "runtime/acs/private/legacy_reader.h"

namespace rirerazo::acs::detail {

namespace {

constexpr std::uint32_t kCharacterStreamSignature = 0xABCDABC1;
constexpr const char* kCharacterStream = "char.acf";
constexpr std::uint8_t kAnimationCompressed = 1;
// The inflated streams of one character may not add up to more than this; real characters
// inflate to a few megabytes.
constexpr std::uint64_t kMaxInflatedBytes = std::uint64_t(256) << 20;

// A stream's compressed payload and the size it inflates to.
struct Payload {
  std::span<const std::uint8_t> data;
  std::uint64_t data_offset = 0;  // within the stream, for messages
  std::uint32_t inflated_size = 0;
  bool compressed = true;
};

void Inflate(const Payload& payload, std::span<std::uint8_t> out, std::string_view source,
             const std::string& stream) {
  if (!payload.compressed) {
    std::copy(payload.data.begin(), payload.data.end(), out.begin());
    return;
  }
  if (auto fault = Decompress(payload.data, out)) {
    ThrowFormatError(source, stream, payload.data_offset, *fault);
  }
}

// Reads the size fields after the framing and checks the sizes can be honoured.
Payload ReadPayload(ByteReader& in, bool compressed) {
  Payload payload;
  payload.compressed = compressed;
  payload.inflated_size = in.U32();
  const std::uint32_t stored_size = in.U32();
  payload.data_offset = in.Offset();
  payload.data = in.Bytes(in.Count(stored_size, 1, "compressed byte"));
  if (!compressed && stored_size != payload.inflated_size) {
    in.FailAt(payload.data_offset, "stored stream's two sizes differ");
  }
  if (compressed && payload.inflated_size > MaxDecompressedSize(stored_size)) {
    in.FailAt(payload.data_offset, "compressed data is too short for the declared size");
  }
  if (payload.inflated_size > kMaxInflatedBytes) {
    in.FailAt(payload.data_offset, "inflated size is larger than supported");
  }
  return payload;
}

std::vector<std::uint8_t> InflateCharacterStream(const std::vector<std::uint8_t>& stream,
                                                 std::string_view source) {
  const std::string block = std::string("stream '") + kCharacterStream + "'";
  ByteReader in(stream, {0, std::uint32_t(stream.size())}, source, block);
  if (in.U32() != kCharacterStreamSignature) in.FailAt(0, "unknown signature");
  const Payload payload = ReadPayload(in, true);
  std::vector<std::uint8_t> out(payload.inflated_size);
  Inflate(payload, out, source, block);
  return out;
}

std::string LowerAscii(std::string text) {
  for (char& c : text) {
    if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
  }
  return text;
}

// An animation stream read from the container, with its payload located.
struct StoredAnimation {
  const LegacyAnimationEntry* entry = nullptr;
  std::vector<std::uint8_t> bytes;
  Payload payload;
};

StoredAnimation ReadAnimationStream(const CompoundFile& container,
                                    const LegacyAnimationEntry& entry, std::uint32_t version,
                                    std::string_view source) {
  StoredAnimation stored{&entry, {}, {}};
  const std::string block = "stream '" + entry.stream_name + "'";
  std::optional<std::vector<std::uint8_t>> bytes = container.ReadStream(entry.stream_name);
  if (!bytes) {
    ThrowFormatError(source, "compound file directory", 0,
                     "has no " + block + " for animation '" + entry.name + "'");
  }
  stored.bytes = std::move(*bytes);
  ByteReader in(stored.bytes, {0, std::uint32_t(stored.bytes.size())}, source, block);
  if (version >= kLegacyVersionWithIds) {
    in.U32();  // the stream's own version stamp
    if (in.U32() != entry.id) in.FailAt(4, "animation id differs from the character's list");
  }
  stored.payload = ReadPayload(in, in.U8() == kAnimationCompressed);
  return stored;
}

// Inflates every animation stream into `kept`, one after the other.
std::vector<InflatedAnimation> InflateAnimations(const CompoundFile& container,
                                                 const LegacyHeader& header,
                                                 std::string_view source,
                                                 std::vector<std::uint8_t>& kept) {
  std::vector<InflatedAnimation> placed;
  // Each animation has a stream of its own; a list naming one stream again and again could
  // otherwise make the reader copy the same large stream thousands of times.
  std::set<std::string> used;
  for (const LegacyAnimationEntry& entry : header.animations) {
    if (!used.insert(LowerAscii(entry.stream_name)).second) {
      ThrowFormatError(source, "character stream 'char.acf'", 0,
                       "stream '" + entry.stream_name + "' is listed for two animations");
    }
    const StoredAnimation stored = ReadAnimationStream(container, entry, header.version, source);
    const std::uint64_t offset = kept.size();
    if (offset + stored.payload.inflated_size > kMaxInflatedBytes) {
      ThrowFormatError(source, "stream '" + entry.stream_name + "'", 0,
                       "the character inflates to more than supported");
    }
    kept.resize(std::size_t(offset + stored.payload.inflated_size));
    Inflate(
        stored.payload,
        std::span<std::uint8_t>(kept).subspan(std::size_t(offset), stored.payload.inflated_size),
        source, "stream '" + entry.stream_name + "'");
    placed.push_back({&entry, {std::uint32_t(offset), stored.payload.inflated_size}});
  }
  return placed;
}

}  // namespace

Character ReadLegacyCharacter(std::span<const std::uint8_t> bytes, std::string_view source) {
  const CompoundFile container(bytes, source);
  const std::optional<std::vector<std::uint8_t>> stream = container.ReadStream(kCharacterStream);
  if (!stream) {
    ThrowFormatError(source, "compound file directory", 0,
                     "has no character stream 'char.acf'; not a character file");
  }
  LegacyHeader header = ReadLegacyHeader(InflateCharacterStream(*stream, source), source);
  Character character;
  character.info = std::move(header.info);
  character.source_name = std::string(source);
  auto kept = std::make_shared<std::vector<std::uint8_t>>();
  const std::vector<InflatedAnimation> placed = InflateAnimations(container, header, source, *kept);
  for (const InflatedAnimation& animation : placed) {
    character.animations.push_back(ReadLegacyAnimation(*kept, animation, source, character));
  }
  character.file_bytes = std::move(kept);
  return character;
}

}  // namespace rirerazo::acs::detail
