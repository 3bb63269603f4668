// Feeds arbitrary bytes to the character-file reader and uses everything it accepts: every
// image and region decoded, a few frames composed (with and without a mouth overlay), a few
// sounds decoded. The only acceptable failure is RuntimeError; sanitizers catch the rest.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/runtime_error.h"
#include "runtime/acs/acs_file.h"

namespace {

constexpr std::size_t kFramesToCompose = 8;
constexpr std::size_t kSoundsToDecode = 4;

void ComposeSome(const rirerazo::acs::Character& character) {
  std::size_t composed = 0;
  for (const auto& animation : character.animations) {
    for (const auto& frame : animation.frames) {
      if (composed++ == kFramesToCompose) return;
      (void)character.ComposeFrame(frame);
      if (!frame.overlays.empty()) {
        (void)character.ComposeFrame(frame, frame.overlays.front().shape);
      }
    }
  }
}

void UseEverything(const rirerazo::acs::Character& character) {
  for (std::size_t i = 0; i < character.images.size(); ++i) (void)character.ImageRegion(i);
  ComposeSome(character);
  for (std::size_t i = 0; i < character.sounds.size() && i < kSoundsToDecode; ++i) {
    (void)character.DecodeSound(i);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  try {
    const rirerazo::acs::Character character =
        rirerazo::acs::ReadCharacter(std::vector<std::uint8_t>(data, data + size), "fuzz");
    UseEverything(character);
  } catch (const rirerazo::RuntimeError&) {
  }
  return 0;
}
