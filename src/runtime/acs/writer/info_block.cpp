#include "runtime/acs/writer/private/blocks.h"

namespace rirerazo::acs::writer {
namespace {

void WriteVoice(ByteWriter& out, const VoiceInfo& voice) {
  out.WriteGuid(voice.engine_id);
  out.WriteGuid(voice.mode_id);
  out.U32(voice.speed);
  out.U16(voice.pitch);
  out.U8(voice.extra ? 1 : 0);
  if (!voice.extra) return;
  out.U16(voice.extra->language_id);
  out.String(voice.extra->dialect);
  out.U16(voice.extra->gender);
  out.U16(voice.extra->age);
  out.String(voice.extra->style);
}

void WriteBalloon(ByteWriter& out, const BalloonInfo& balloon) {
  out.U8(balloon.lines);
  out.U8(balloon.chars_per_line);
  out.ColorRef(balloon.text_color);
  out.ColorRef(balloon.background_color);
  out.ColorRef(balloon.border_color);
  out.String(balloon.font_name);
  out.I32(balloon.font_height);
  out.U32(balloon.font_weight);
  out.U8(balloon.italic);
  out.U8(balloon.reserved);
}

// The icon's two packed DIBs, mask first, each preceded by its size.
void WriteTrayIcon(ByteWriter& out, const std::optional<TrayIcon>& icon) {
  out.U8(icon ? 1 : 0);
  if (!icon) return;
  for (const std::vector<std::uint8_t>* part : {&icon->mask_dib, &icon->color_dib}) {
    out.U32(static_cast<std::uint32_t>(part->size()));
    out.Bytes(*part);
  }
}

void WriteStates(ByteWriter& out, const std::vector<State>& states) {
  out.U16(static_cast<std::uint16_t>(states.size()));
  for (const State& state : states) {
    out.String(UpperAscii(state.name));
    out.U16(static_cast<std::uint16_t>(state.animations.size()));
    for (const std::string& name : state.animations) out.String(UpperAscii(name));
  }
}

void WriteLocalized(ByteWriter& out, const std::vector<LocalizedInfo>& entries) {
  out.U16(static_cast<std::uint16_t>(entries.size()));
  for (const LocalizedInfo& entry : entries) {
    out.U16(entry.language_id);
    out.String(entry.name);
    out.String(entry.description);
    out.String(entry.extra_data);
  }
}

}  // namespace

std::uint32_t ConsistentFlags(const CharacterInfo& info) {
  std::uint32_t flags = info.flags & ~(kFlagVoiceDisabled | kFlagVoiceEnabled |
                                       kFlagBalloonDisabled | kFlagBalloonEnabled);
  flags |= info.voice ? kFlagVoiceEnabled : kFlagVoiceDisabled;
  flags |= info.balloon ? kFlagBalloonEnabled : kFlagBalloonDisabled;
  return flags;
}

// Fields in file order; the optional voice and balloon blocks are gated by the flag bits
// ConsistentFlags sets. The localised-info locator is patched once the list is written.
void WriteInfoBlock(ByteWriter& out, const CharacterInfo& info) {
  out.U16(info.minor_version);
  out.U16(info.major_version);
  const std::size_t locator = out.Size();
  out.U32(0);
  out.U32(0);
  out.WriteGuid(info.guid);
  out.U16(info.width);
  out.U16(info.height);
  out.U8(info.transparent_index);
  out.U32(ConsistentFlags(info));
  out.U16(info.animation_set_major);
  out.U16(info.animation_set_minor);
  if (info.voice) WriteVoice(out, *info.voice);
  if (info.balloon) WriteBalloon(out, *info.balloon);
  out.U32(static_cast<std::uint32_t>(info.palette.size()));
  for (const Color& color : info.palette) out.PaletteColor(color);
  WriteTrayIcon(out, info.tray_icon);
  WriteStates(out, info.states);
  const std::size_t localized_start = out.Size();
  WriteLocalized(out, info.localized);
  out.PatchU32(locator, static_cast<std::uint32_t>(localized_start));
  out.PatchU32(locator + 4, static_cast<std::uint32_t>(out.Size() - localized_start));
}

}  // namespace rirerazo::acs::writer
