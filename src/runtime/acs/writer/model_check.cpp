#include <set>

#include "platform/runtime_error.h"
#include "runtime/acs/writer/private/blocks.h"

namespace rirerazo::acs::writer {
namespace {

constexpr std::size_t kMaxU8 = 0xFF;
constexpr std::size_t kMaxU16 = 0xFFFF;

[[noreturn]] void Fail(const std::string& where, const std::string& what) {
  throw RuntimeError(err::kInvalidProcedureCall, "cannot write character: " + where + ": " + what);
}

std::string OutOfRange(const char* what, std::size_t index, std::size_t count) {
  return std::string(what) + " " + std::to_string(index) + " out of range (" +
         std::to_string(count) + " available)";
}

void CheckOverlays(const Frame& frame, const Character& character, const std::string& where) {
  if (frame.overlays.size() > kMaxU8) Fail(where, "more than 255 mouth overlays");
  for (const MouthOverlay& overlay : frame.overlays) {
    if (overlay.image_index >= character.images.size()) {
      Fail(where, OutOfRange("overlay image", overlay.image_index, character.images.size()));
    }
  }
}

void CheckFrame(const Frame& frame, std::size_t frame_count, const Character& character,
                const std::string& where) {
  if (frame.images.size() > kMaxU16) Fail(where, "more than 65535 images");
  for (const FrameImage& image : frame.images) {
    if (image.image_index >= character.images.size()) {
      Fail(where, OutOfRange("image", image.image_index, character.images.size()));
    }
  }
  if (frame.sound_index != kNoSound && frame.sound_index >= character.sounds.size()) {
    Fail(where, OutOfRange("sound", frame.sound_index, character.sounds.size()));
  }
  if (frame.exit_frame >= 0 && std::size_t(frame.exit_frame) >= frame_count) {
    Fail(where, OutOfRange("exit frame", frame.exit_frame, frame_count));
  }
  if (frame.exit_frame < 0 && frame.exit_frame != kExitStop && frame.exit_frame != kExitNone) {
    Fail(where, "exit frame " + std::to_string(frame.exit_frame) + " is neither -1 nor -2");
  }
  if (frame.branches.size() > kMaxU8) Fail(where, "more than 255 branches");
  unsigned total_percent = 0;
  for (const Branch& branch : frame.branches) {
    if (branch.target_frame >= frame_count) {
      Fail(where, OutOfRange("branch target", branch.target_frame, frame_count));
    }
    total_percent += branch.probability_percent;
  }
  if (total_percent > 100) Fail(where, "branch probabilities add up to more than 100");
  CheckOverlays(frame, character, where);
}

void CheckAnimations(const Character& character) {
  std::set<std::string> names;
  for (const Animation& animation : character.animations) {
    const std::string where = "animation \"" + animation.name + "\"";
    if (animation.name.empty()) Fail("animation list", "an animation has no name");
    if (!names.insert(UpperAscii(animation.name)).second) Fail(where, "name used twice");
    if (animation.frames.empty() || animation.frames.size() > kMaxU16) {
      Fail(where, "needs 1 to 65535 frames");
    }
    for (std::size_t i = 0; i < animation.frames.size(); ++i) {
      CheckFrame(animation.frames[i], animation.frames.size(), character,
                 where + " frame " + std::to_string(i));
    }
  }
}

void CheckImages(const Character& character) {
  for (std::size_t i = 0; i < character.images.size(); ++i) {
    const ImageEntry& entry = character.images[i];
    const std::string where = "image " + std::to_string(i);
    if (entry.width == 0 || entry.height == 0) Fail(where, "has no pixels");
    const auto* pixels = std::get_if<IndexedPixels>(&entry.pixels);
    if (pixels && (pixels->width != entry.width || pixels->height != entry.height ||
                   pixels->indices.size() != std::size_t{entry.width} * entry.height)) {
      Fail(where, "pixel data does not match its width and height");
    }
  }
  if (character.sounds.size() > kMaxU16) Fail("sound list", "more than 65535 sounds");
}

void CheckInfo(const CharacterInfo& info) {
  if (info.palette.size() > 256) Fail("palette", "more than 256 colours");
  if (info.states.size() > kMaxU16) Fail("state list", "more than 65535 states");
  for (const State& state : info.states) {
    if (state.animations.size() > kMaxU16) Fail("state " + state.name, "too many animations");
  }
  if (info.localized.size() > kMaxU16) Fail("localised info", "more than 65535 entries");
}

}  // namespace

void CheckModel(const Character& character) {
  CheckInfo(character.info);
  CheckImages(character);
  CheckAnimations(character);
}

}  // namespace rirerazo::acs::writer
