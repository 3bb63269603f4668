// Any bytes as the file of a backdrop picture: the decoder gives a picture whose pixels
// match its size, or raises its error; the picture's place fits each screen.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <exception>
#include <fstream>
#include <memory>
#include <string>

#include "core/media/picture_fit.h"
#include "os/picture_file.h"
#include "platform/backdrop.h"

namespace {

// One file per fuzzing process, rewritten for every input.
const std::string& PicturePath() {
  static const std::string path = [] {
    const char* dir = std::getenv("TMPDIR");
    return std::string(dir && *dir ? dir : "/tmp") + "/fuzz_backdrop_picture." +
           std::to_string(getpid());
  }();
  return path;
}

void CheckPlace(const rirerazo::platform::Picture& picture, std::int32_t screen_w,
                std::int32_t screen_h) {
  const std::int32_t w = picture.width_px * rirerazo::platform::kTwipsPerPixel;
  const std::int32_t h = picture.height_px * rirerazo::platform::kTwipsPerPixel;
  const rirerazo::platform::RectTwips place = rirerazo::media::FitPicture(w, h, screen_w, screen_h);
  // A picture is never drawn larger than it is, nor wider or taller than the screen (one
  // twip of rounding aside).
  if (place.width > w || place.height > h) std::abort();
  if (place.width > screen_w + 1 || place.height > screen_h + 1) std::abort();
  if (place.width < 0 || place.height < 0) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  {
    std::ofstream file(PicturePath(), std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  }
  std::shared_ptr<const rirerazo::platform::Picture> picture;
  try {
    picture = rirerazo::os::FilePictureDecoder().Decode(PicturePath());
  } catch (const std::exception&) {
    return 0;
  }
  if (!picture || picture->width_px <= 0 || picture->height_px <= 0) std::abort();
  if (picture->rgba.size() !=
      static_cast<std::size_t>(picture->width_px) * static_cast<std::size_t>(picture->height_px) * 4) {
    std::abort();
  }
  CheckPlace(*picture, 1920 * 15, 1080 * 15);
  CheckPlace(*picture, 15, 15);
  CheckPlace(*picture, 640 * 15, 4800 * 15);
  return 0;
}
