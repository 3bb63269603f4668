// Feeds older-generation character files to the reader (see legacy_input.h for the input's
// two forms) and uses everything it accepts: every image region, every frame composed with
// each of its mouths, every sound decoded. The only acceptable failure is RuntimeError.
#include <cstddef>
#include <cstdint>

#include "legacy_input.h"
#include "platform/runtime_error.h"
#include "runtime/acs/acs_file.h"

namespace {

void UseEverything(const rirerazo::acs::Character& character) {
  for (std::size_t i = 0; i < character.images.size(); ++i) (void)character.ImageRegion(i);
  for (const auto& animation : character.animations) {
    for (const auto& frame : animation.frames) {
      (void)character.ComposeFrame(frame);
      for (const auto& overlay : frame.overlays) (void)character.ComposeFrame(frame, overlay.shape);
    }
  }
  for (std::size_t i = 0; i < character.sounds.size(); ++i) (void)character.DecodeSound(i);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::vector<std::uint8_t> file = rirerazo::acs::fuzzing::FileFromInput(data, size);
  try {
    UseEverything(rirerazo::acs::ReadCharacter(file, "fuzz"));
  } catch (const rirerazo::RuntimeError&) {
  }
  return 0;
}
