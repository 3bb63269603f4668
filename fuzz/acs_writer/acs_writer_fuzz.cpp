// libFuzzer target for the writer. The first byte picks the check:
//   even: the rest is compressed and decompressed and must come back unchanged;
//   odd:  the rest is read as a character; when the reader accepts it and every image and
//         sound decodes, writing it and reading it back must give the same animations,
//         pixels and info.
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "platform/runtime_error.h"
#include "runtime/acs/acs_file.h"
#include "runtime/acs/private/decompress.h"
#include "runtime/acs/writer/acs_writer.h"
#include "runtime/acs/writer/image_encoder.h"

namespace {

using namespace rirerazo::acs;

void CheckEncoder(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return;
  const std::vector<std::uint8_t> stream = CompressImageData({data, size});
  std::vector<std::uint8_t> decoded(size);
  if (detail::Decompress(stream, decoded) || !std::equal(decoded.begin(), decoded.end(), data)) {
    std::abort();
  }
}

// Decodes everything the writer will need; false when the input is damaged beyond its
// directories, which the writer is allowed to refuse.
bool FullyDecodable(const Character& c) {
  try {
    for (std::size_t i = 0; i < c.images.size(); ++i) c.ImagePixels(i), c.ImageRegion(i);
    for (std::size_t i = 0; i < c.sounds.size(); ++i) c.SoundBytes(i);
  } catch (const rirerazo::RuntimeError&) {
    return false;
  }
  return true;
}

void CheckWriter(const std::uint8_t* data, std::size_t size) {
  Character original;
  try {
    original = ReadCharacter(std::vector<std::uint8_t>(data, data + size), "fuzz");
  } catch (const rirerazo::RuntimeError&) {
    return;
  }
  if (!FullyDecodable(original)) return;
  std::vector<std::uint8_t> bytes;
  try {
    bytes = WriteCharacter(original);
  } catch (const rirerazo::RuntimeError&) {
    return;  // a model the format cannot hold (e.g. duplicate names): refused, not crashed
  }
  const Character again = ReadCharacter(bytes, "rewritten");
  // The writer stores return animations upper-cased, as names compare without case.
  std::vector<Animation> expected = original.animations;
  for (Animation& animation : expected)
    animation.return_animation = UpperAscii(animation.return_animation);
  if (again.animations != expected || again.info.palette != original.info.palette ||
      again.images.size() != original.images.size()) {
    std::abort();
  }
  for (std::size_t i = 0; i < original.images.size(); ++i) {
    if (!(again.ImagePixels(i) == original.ImagePixels(i))) std::abort();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  if (data[0] % 2 == 0) {
    CheckEncoder(data + 1, size - 1);
  } else {
    CheckWriter(data + 1, size - 1);
  }
  return 0;
}
