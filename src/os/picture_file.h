// The one picture decoder of every host: BMP, GIF (first frame), JPEG, PNG, and also TGA,
// PSD, PNM and HDR files, decoded into our own Picture type.
#pragma once

#include "platform/picture.h"

namespace rirerazo::os {

class FilePictureDecoder : public platform::PictureDecoder {
 public:
  // Pictures larger than this many pixels are refused as unsupported rather than decoded,
  // so a forged header cannot make the player allocate gigabytes.
  static constexpr long long kMaxPixels = 64LL * 1024 * 1024;

  std::shared_ptr<const platform::Picture> Decode(const std::string& path) override;
};

}  // namespace rirerazo::os
