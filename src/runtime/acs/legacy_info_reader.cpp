// The inflated character stream of an older-generation file: version, animation list,
// identity, size, flags, voice, balloon, palette and states, packed in that order.
#include "platform/runtime_error.h"
#include "runtime/acs/private/legacy_reader.h"
#include "runtime/acs/private/reader_parts.h"

namespace rirerazo::acs::detail {

namespace {

constexpr const char* kBlock = "character stream 'char.acf' (inflated)";
// The older header has no balloon gate of its own: the balloon is there unless disabled.
constexpr std::uint32_t kVoiceFlags = kFlagVoiceEnabled | kFlagVoiceDisabled;
constexpr std::uint32_t kBalloonFlags = kFlagBalloonEnabled | kFlagBalloonDisabled;
// The single language the older files describe themselves in.
constexpr std::uint16_t kLegacyLanguage = 0x0009;

std::vector<LegacyAnimationEntry> ReadAnimationList(ByteReader& in, std::uint32_t version) {
  // An entry is at least three empty strings (4 bytes each).
  std::vector<LegacyAnimationEntry> list(in.Count(in.U16(), 12, "animation"));
  for (LegacyAnimationEntry& entry : list) {
    entry.name = ReadLegacyString(in);
    entry.stream_name = ReadLegacyString(in);
    entry.return_animation = ReadLegacyString(in);
    if (version >= kLegacyVersionWithIds) entry.id = in.U32();
  }
  return list;
}

VoiceInfo ReadVoice(ByteReader& in) {
  VoiceInfo voice;
  voice.engine_id = in.ReadGuid();
  voice.mode_id = in.ReadGuid();
  voice.speed = in.U32();
  voice.pitch = in.U16();
  return voice;  // the older files carry no language, gender, age or style
}

Color ReadColorRef(ByteReader& in) {
  const std::span<const std::uint8_t> b = in.Bytes(4);
  return Color{b[0], b[1], b[2]};
}

BalloonInfo ReadBalloon(ByteReader& in, std::uint32_t version, bool single_byte) {
  BalloonInfo balloon;
  balloon.lines = in.U8();
  balloon.chars_per_line = in.U8();
  balloon.text_color = ReadColorRef(in);
  balloon.background_color = ReadColorRef(in);
  balloon.border_color = ReadColorRef(in);
  balloon.font_name = ReadLegacyString(in, single_byte);
  balloon.font_height = in.I32();
  balloon.font_weight = in.U32();
  balloon.italic = in.U8();
  if (version > kLegacyVersionWithoutBalloonTail) balloon.reserved = in.U8();
  return balloon;
}

std::vector<Color> ReadPalette(ByteReader& in) {
  const std::uint32_t count = in.U32();
  if (count > 256) in.FailAt(in.Offset() - 4, "palette of " + std::to_string(count) + " entries");
  std::vector<Color> palette(in.Count(count, 4, "palette"));
  const std::span<const std::uint8_t> b = in.Bytes(palette.size() * 4);
  for (std::size_t i = 0; i < palette.size(); ++i) {
    palette[i] = Color{b[4 * i + 2], b[4 * i + 1], b[4 * i]};
  }
  return palette;
}

// State names and the animation names they list are upper-cased, as current files store them
// (lookups ignore case), so that a converted file reads back the same model.
std::vector<State> ReadStates(ByteReader& in) {
  std::vector<State> states(in.Count(in.U16(), 6, "state"));
  for (State& state : states) {
    state.name = UpperAscii(ReadLegacyString(in));
    state.animations.resize(in.Count(in.U16(), 4, "state animation"));
    for (std::string& name : state.animations) name = UpperAscii(ReadLegacyString(in));
  }
  return states;
}

// Size, flags, voice and balloon; the flag bits are normalised to the pairs the model uses.
void ReadAppearance(ByteReader& in, std::uint32_t version, bool single_byte, CharacterInfo& info) {
  info.width = in.U16();
  info.height = in.U16();
  if (info.width == 0 || info.height == 0 || std::uint64_t(info.width) * info.height > kMaxPixels) {
    in.Fail("unusable character size " + std::to_string(info.width) + " x " +
            std::to_string(info.height));
  }
  info.transparent_index = in.U8();
  info.flags = in.U32();
  const bool has_voice = info.flags & kFlagVoiceEnabled;
  const bool has_balloon = !(info.flags & kFlagBalloonDisabled);
  info.flags &= ~(kVoiceFlags | kBalloonFlags);
  info.flags |= has_voice ? kFlagVoiceEnabled : kFlagVoiceDisabled;
  info.flags |= has_balloon ? kFlagBalloonEnabled : kFlagBalloonDisabled;
  if (has_voice) info.voice = ReadVoice(in);
  if (has_balloon) info.balloon = ReadBalloon(in, version, single_byte);
}

LegacyHeader ParseHeader(std::span<const std::uint8_t> inflated, std::string_view source,
                         bool single_byte) {
  ByteReader in(inflated, {0, std::uint32_t(inflated.size())}, source, kBlock);
  LegacyHeader header;
  header.version = in.U32();
  if (header.version < kLegacyVersionFirst || header.version > kLegacyVersionLast) {
    in.FailAt(0, "unsupported older-generation version " + HexOffset(header.version));
  }
  header.animations = ReadAnimationList(in, header.version);
  CharacterInfo& info = header.info;
  info.guid = in.ReadGuid();
  LocalizedInfo text{kLegacyLanguage, ReadLegacyString(in, single_byte),
                     ReadLegacyString(in, single_byte), ReadLegacyString(in, single_byte)};
  info.localized.push_back(std::move(text));
  ReadAppearance(in, header.version, single_byte, info);
  info.palette = ReadPalette(in);
  info.states = ReadStates(in);
  if (in.Remaining() != 0) in.Fail("unexpected bytes after the states");
  return header;
}

}  // namespace

std::string ReadLegacyString(ByteReader& in, bool single_byte) {
  const std::size_t unit_bytes = single_byte ? 1 : 2;
  const std::size_t count = in.Count(in.U32(), unit_bytes, "string character");
  const std::span<const std::uint8_t> bytes = in.Bytes(count * unit_bytes);
  std::string text;
  if (!single_byte) {
    AppendUtf8FromUtf16(bytes, text);
    return text;
  }
  for (const std::uint8_t byte : bytes) {
    if (byte < 0x80) {
      text.push_back(char(byte));
    } else {
      text.push_back(char(0xC0 | (byte >> 6)));
      text.push_back(char(0x80 | (byte & 0x3F)));
    }
  }
  return text;
}

LegacyHeader ReadLegacyHeader(std::span<const std::uint8_t> inflated, std::string_view source) {
  try {
    return ParseHeader(inflated, source, false);
  } catch (const RuntimeError& as_utf16) {
    try {
      return ParseHeader(inflated, source, true);
    } catch (const RuntimeError&) {
      throw as_utf16;  // the first reading's complaint is the more useful one
    }
  }
}

}  // namespace rirerazo::acs::detail
