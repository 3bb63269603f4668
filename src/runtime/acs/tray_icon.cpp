// Tray icons: two packed DIBs (a 40-byte header, a colour table, bottom-up rows padded to
// 4 bytes). The 1-bpp AND mask says where the icon is transparent; the colour image gives the
// rest.
#include <algorithm>

#include "platform/runtime_error.h"
#include "runtime/acs/acs_file.h"
#include "runtime/acs/private/byte_reader.h"

namespace rirerazo::acs {

namespace {

constexpr std::uint32_t kInfoHeaderBytes = 40;
constexpr std::int32_t kMaxIconSide = 256;

struct Dib {
  int width = 0;
  int height = 0;
  int bits = 0;
  std::vector<std::array<std::uint8_t, 3>> colors;  // R, G, B
  std::span<const std::uint8_t> rows;
  std::size_t stride = 0;

  const std::uint8_t* Row(int y) const {
    return rows.data() + std::size_t(height - 1 - y) * stride;
  }
  // The colour-table index of a pixel of a 1, 4 or 8-bit image (x right, y down).
  std::size_t Index(int x, int y) const {
    const int per_byte = 8 / bits;
    const int shift = 8 - bits * (x % per_byte + 1);
    return (Row(y)[x / per_byte] >> shift) & ((1 << bits) - 1);
  }
  // The R, G, B of a pixel.
  std::array<std::uint8_t, 3> At(int x, int y) const {
    if (bits >= 24) {
      const std::uint8_t* p = Row(y) + std::size_t(x) * (bits / 8);
      return {p[2], p[1], p[0]};
    }
    const std::size_t index = Index(x, y);
    return index < colors.size() ? colors[index] : std::array<std::uint8_t, 3>{0, 0, 0};
  }
};

Dib ReadDib(const std::vector<std::uint8_t>& bytes, const char* part) {
  detail::ByteReader in(bytes, {0, std::uint32_t(bytes.size())}, "tray icon", part);
  Dib dib;
  if (in.U32() < kInfoHeaderBytes) in.FailAt(0, "header is too short");
  dib.width = in.I32();
  dib.height = in.I32();
  in.Skip(2);  // planes
  dib.bits = in.U16();
  if (in.U32() != 0) in.FailAt(16, "compressed icons are not supported");
  in.Skip(12);  // image size, resolution
  const std::uint32_t used = in.U32();
  in.Skip(4);  // important colours
  if (dib.width <= 0 || dib.height <= 0 || dib.width > kMaxIconSide || dib.height > kMaxIconSide ||
      (dib.bits != 1 && dib.bits != 4 && dib.bits != 8 && dib.bits != 24 && dib.bits != 32)) {
    in.FailAt(4, "unsupported icon size or depth");
  }
  const std::size_t table = dib.bits <= 8 ? (used ? used : std::size_t(1) << dib.bits) : used;
  dib.colors.resize(in.Count(table, 4, "colour"));
  for (auto& color : dib.colors) {
    const auto bgr = in.Bytes(4);
    color = {bgr[2], bgr[1], bgr[0]};
  }
  dib.stride = ((std::size_t(dib.width) * dib.bits + 31) / 32) * 4;
  dib.rows = in.Bytes(dib.stride * std::size_t(dib.height));
  return dib;
}

}  // namespace

RgbaImage DecodeTrayIcon(const TrayIcon& icon) {
  const Dib mask = ReadDib(icon.mask_dib, "mask");
  const Dib color = ReadDib(icon.color_dib, "image");
  if (mask.bits != 1 || mask.width != color.width || mask.height != color.height) {
    throw RuntimeError(kInvalidCharacterFile, "tray icon: mask does not match the image");
  }
  RgbaImage image{color.width, color.height, {}};
  image.rgba.assign(std::size_t(image.width) * image.height * 4, 0);
  for (int y = 0; y < image.height; ++y) {
    for (int x = 0; x < image.width; ++x) {
      if (mask.Index(x, y) != 0) continue;  // a set AND bit keeps the background
      const auto rgb = color.At(x, y);
      std::uint8_t* p = &image.rgba[(std::size_t(y) * image.width + x) * 4];
      std::copy(rgb.begin(), rgb.end(), p);
      p[3] = 255;
    }
  }
  return image;
}

}  // namespace rirerazo::acs
