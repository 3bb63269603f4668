// Pictures read from files, in our own value type, and the decoder that reads them. One
// decoder (src/os/) serves every host, so a picture that shows on the desktop also plays
// headless and a broken one fails the same way in both.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace rirerazo::platform {

// A decoded picture: rows from top to bottom, 4 bytes per pixel (red, green, blue, alpha).
struct Picture {
  int width_px = 0;
  int height_px = 0;
  std::vector<std::uint8_t> rgba;
};

class PictureDecoder {
 public:
  virtual ~PictureDecoder() = default;

  // Reads and decodes the picture file at `path` (BMP, GIF, JPEG and PNG at least; a GIF
  // gives its first frame). Throws RuntimeError 53 when the file cannot be read and 481
  // ("Invalid picture") when it is not a picture the decoder understands.
  virtual std::shared_ptr<const Picture> Decode(const std::string& path) = 0;
};

}  // namespace rirerazo::platform
