// Rira's identity and defaults: palette, voice, balloon, names, tray icon and sounds.
#include <cmath>
#include <numbers>

#include "rira_model.h"
#include "runtime/acs/writer/wav_writer.h"

namespace rira {
namespace {

namespace acs = rirerazo::acs;

// Index order follows the Ink enumeration; index 0 is the colour key for transparency.
std::vector<acs::Color> Palette() {
  std::vector<acs::Color> palette = {
      {255, 0, 255},   {46, 34, 52},   {247, 153, 64},  {222, 118, 44},  {255, 255, 255},
      {36, 32, 48},    {104, 190, 86}, {52, 128, 66},   {250, 160, 160}, {196, 52, 70},
      {242, 118, 130}, {255, 214, 64}, {112, 168, 232}, {196, 96, 40},
  };
  while (palette.size() < 256) {  // a grey ramp for the unused entries
    const auto level =
        static_cast<std::uint8_t>((palette.size() - kInkCount) * 255 / (255 - kInkCount));
    palette.push_back({level, level, level});
  }
  return palette;
}

// Little-endian helpers for the icon's packed DIBs.
void Put32(std::vector<std::uint8_t>& out, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}

std::vector<std::uint8_t> DibHeader(int bits, int colours, std::uint32_t image_bytes) {
  std::vector<std::uint8_t> dib;
  for (std::uint32_t v : {40u, 16u, 16u}) Put32(dib, v);
  dib.push_back(1), dib.push_back(0);  // planes
  dib.push_back(static_cast<std::uint8_t>(bits)), dib.push_back(0);
  for (std::uint32_t v : {0u, image_bytes, 0u, 0u, std::uint32_t(colours), 0u}) Put32(dib, v);
  return dib;
}

// A 16 x 16 icon sampled from the resting pose: a 1-bit AND mask (1 = see-through) and a
// 4-bit colour image whose table is the first 16 palette entries; rows bottom-up.
acs::TrayIcon Icon(const std::vector<acs::Color>& palette) {
  Canvas canvas(kFrameWidth, kFrameHeight, kClear);
  DrawPose(canvas, Pose{});
  acs::TrayIcon icon;
  icon.mask_dib = DibHeader(1, 2, 64);
  for (std::uint32_t colour : {0x000000u, 0xFFFFFFu}) Put32(icon.mask_dib, colour);
  icon.color_dib = DibHeader(4, 16, 128);
  for (int i = 0; i < 16; ++i) {
    const acs::Color& c = palette[i];
    Put32(icon.color_dib, c.blue | (c.green << 8) | (c.red << 16));
  }
  for (int row = 15; row >= 0; --row) {
    std::uint8_t mask[4] = {0, 0, 0, 0};
    std::uint8_t colour[8] = {};
    for (int col = 0; col < 16; ++col) {
      const std::uint8_t ink = canvas.At(col * 8 + 4, row * 8 + 4);
      if (ink == kClear) mask[col / 8] |= 0x80 >> (col % 8);
      const std::uint8_t nibble = ink == kClear || ink >= 16 ? 0 : ink;
      colour[col / 2] |= col % 2 ? nibble : nibble << 4;
    }
    icon.mask_dib.insert(icon.mask_dib.end(), mask, mask + 4);
    icon.color_dib.insert(icon.color_dib.end(), colour, colour + 8);
  }
  return icon;
}

acs::VoiceInfo Voice() {
  acs::VoiceInfo voice;
  voice.engine_id = {0x6A1C0E52, 0x9B3D, 0x4F21, {0x8C, 0x57, 0x31, 0xE0, 0x4D, 0x92, 0xA6, 0x10}};
  voice.mode_id = {0x6A1C0E52, 0x9B3D, 0x4F21, {0x8C, 0x57, 0x31, 0xE0, 0x4D, 0x92, 0xA6, 0x11}};
  voice.speed = 165;
  voice.pitch = 140;
  voice.extra = acs::VoiceExtra{0x0409, "", 1, 12, "Cheerful"};
  return voice;
}

acs::BalloonInfo Balloon() {
  acs::BalloonInfo balloon;
  balloon.lines = 3;
  balloon.chars_per_line = 30;
  balloon.text_color = {46, 34, 52};
  balloon.background_color = {255, 248, 228};
  balloon.border_color = {222, 118, 44};
  balloon.font_name = "DejaVu Sans";
  balloon.font_height = -13;
  balloon.font_weight = 400;
  return balloon;
}

// A decaying sine mix at 11025 Hz, stored as 8-bit PCM to keep the file small.
std::vector<std::uint8_t> Tone(double seconds, double f0_hz, double f1_hz, double decay) {
  acs::PcmSound sound;
  sound.sample_rate_hz = 11025;
  const int count = static_cast<int>(seconds * sound.sample_rate_hz);
  for (int i = 0; i < count; ++i) {
    const double t = double(i) / sound.sample_rate_hz;
    const double f = f0_hz + (f1_hz - f0_hz) * t / seconds;
    const double v = std::sin(2 * std::numbers::pi * f * t) * std::exp(-decay * t);
    sound.samples.push_back(static_cast<std::int16_t>(v * 20000));
  }
  return acs::MakePcmWav(sound, 8);
}

}  // namespace

acs::CharacterInfo RiraInfo() {
  acs::CharacterInfo info;
  info.guid = {0x5B1F2A77, 0x3C0E, 0x4D8B, {0x9A, 0x61, 0x2E, 0x7C, 0x4F, 0x0B, 0x9D, 0x13}};
  info.width = kFrameWidth;
  info.height = kFrameHeight;
  info.transparent_index = kClear;
  info.flags = acs::kFlagStandardAnimationSet;
  info.voice = Voice();
  info.balloon = Balloon();
  info.palette = Palette();
  info.tray_icon = Icon(info.palette);
  info.localized.push_back({0x0009, "Rira", "A small sprout-topped friend who plays your scripts.",
                            "Rira is ready to help.^^Here is something worth a look."});
  return info;
}

std::vector<std::uint8_t> PopSound() {
  return Tone(0.12, 300, 900, 18);
}
std::vector<std::uint8_t> ChimeSound() {
  return Tone(0.4, 880, 1320, 7);
}

}  // namespace rira
