// Reads the character info block: a sequential walk whose optional parts are gated by flags,
// ending in the localised-info list that the block's own locator points at.
#include "platform/runtime_error.h"
#include "runtime/acs/private/byte_reader.h"
#include "runtime/acs/private/reader_parts.h"

namespace rirerazo::acs::detail {

namespace {

constexpr const char* kBlock = "character info";

VoiceInfo ReadVoice(ByteReader& in) {
  VoiceInfo voice;
  voice.engine_id = in.ReadGuid();
  voice.mode_id = in.ReadGuid();
  voice.speed = in.U32();
  voice.pitch = in.U16();
  if (in.U8() != 0) {
    VoiceExtra extra;
    extra.language_id = in.U16();
    extra.dialect = in.String();
    extra.gender = in.U16();
    extra.age = in.U16();
    extra.style = in.String();
    voice.extra = std::move(extra);
  }
  return voice;
}

// Balloon colours are stored R, G, B, 0.
Color ReadColorRef(ByteReader& in) {
  const std::span<const std::uint8_t> b = in.Bytes(4);
  return Color{b[0], b[1], b[2]};
}

BalloonInfo ReadBalloon(ByteReader& in) {
  BalloonInfo balloon;
  balloon.lines = in.U8();
  balloon.chars_per_line = in.U8();
  balloon.text_color = ReadColorRef(in);
  balloon.background_color = ReadColorRef(in);
  balloon.border_color = ReadColorRef(in);
  balloon.font_name = in.String();
  balloon.font_height = in.I32();
  balloon.font_weight = in.U32();
  balloon.italic = in.U8();
  balloon.reserved = in.U8();
  return balloon;
}

// Palette entries are stored B, G, R, 0; the count is authoritative (0 means no palette).
std::vector<Color> ReadPalette(ByteReader& in) {
  const std::size_t count = in.Count(in.U32(), 4, "palette");
  std::vector<Color> palette(count);
  const std::span<const std::uint8_t> b = in.Bytes(count * 4);
  for (std::size_t i = 0; i < count; ++i) {
    palette[i] = Color{b[4 * i + 2], b[4 * i + 1], b[4 * i]};
  }
  return palette;
}

std::vector<std::uint8_t> ReadSizedBytes(ByteReader& in, std::string_view what) {
  const std::size_t size = in.Count(in.U32(), 1, what);
  const std::span<const std::uint8_t> b = in.Bytes(size);
  return {b.begin(), b.end()};
}

std::optional<TrayIcon> ReadTrayIcon(ByteReader& in) {
  if (in.U8() == 0) return std::nullopt;
  TrayIcon icon;
  icon.mask_dib = ReadSizedBytes(in, "tray icon mask");
  icon.color_dib = ReadSizedBytes(in, "tray icon image");
  return icon;
}

std::vector<State> ReadStates(ByteReader& in) {
  // A state is at least a 4-byte name and a 2-byte count; a name at least 4 bytes.
  std::vector<State> states(in.Count(in.U16(), 6, "state"));
  for (State& state : states) {
    state.name = in.String();
    state.animations.resize(in.Count(in.U16(), 4, "state animation"));
    for (std::string& name : state.animations) name = in.String();
  }
  return states;
}

// The localised-info list; the last string may lack its terminator (see ByteReader::String).
std::vector<LocalizedInfo> ReadLocalized(ByteReader& in) {
  std::vector<LocalizedInfo> list(in.Count(in.U16(), 14, "localised info"));
  for (std::size_t i = 0; i < list.size(); ++i) {
    const bool last = i + 1 == list.size();
    list[i].language_id = in.U16();
    list[i].name = in.String();
    list[i].description = in.String();
    list[i].extra_data = in.String(last);
  }
  return list;
}

void ReadHead(ByteReader& in, CharacterInfo& info) {
  info.minor_version = in.U16();
  info.major_version = in.U16();
  if (info.major_version != 2 || info.minor_version != 1) {
    in.FailAt(in.Offset() - 4, "unsupported version " + std::to_string(info.major_version) + "." +
                                   std::to_string(info.minor_version) + " (only 2.1 is read)");
  }
}

void CheckSize(ByteReader& in, const CharacterInfo& info) {
  if (info.width == 0 || info.height == 0 || std::uint64_t(info.width) * info.height > kMaxPixels) {
    in.Fail("unusable character size " + std::to_string(info.width) + " x " +
            std::to_string(info.height));
  }
}

}  // namespace

CharacterInfo ReadCharacterInfo(const FileView& file, FileRange block) {
  ByteReader in(file.bytes, block, file.source, kBlock);
  CharacterInfo info;
  ReadHead(in, info);
  const FileRange localized{in.U32(), in.U32()};
  info.guid = in.ReadGuid();
  info.width = in.U16();
  info.height = in.U16();
  CheckSize(in, info);
  info.transparent_index = in.U8();
  info.flags = in.U32();
  info.animation_set_major = in.U16();
  info.animation_set_minor = in.U16();
  if (info.flags & kFlagVoiceEnabled) info.voice = ReadVoice(in);
  if (info.flags & kFlagBalloonEnabled) info.balloon = ReadBalloon(in);
  info.palette = ReadPalette(in);
  info.tray_icon = ReadTrayIcon(in);
  info.states = ReadStates(in);
  if (in.Offset() != localized.offset) {
    in.Fail("the walk ends here but the localised info starts at " + HexOffset(localized.offset) +
            "; the block is out of step");
  }
  const std::uint64_t localized_end = std::uint64_t(localized.offset) + localized.size;
  if (localized_end > in.End()) in.Fail("localised info runs past the end of the block");
  ByteReader tail(file.bytes, localized, file.source, "localised info");
  info.localized = ReadLocalized(tail);
  if (tail.Remaining() != 0) tail.Fail("unexpected bytes after the localised info");
  return info;
}

}  // namespace rirerazo::acs::detail
