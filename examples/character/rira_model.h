// Builds the demo character "Rira" as an in-memory character model: the palette, voice and
// balloon defaults, the tray icon, every pose drawn by rira_art, the animations and the
// states. The program draw_rira.cpp writes the model to a .acs file at build time.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "canvas.h"
#include "rira_art.h"
#include "runtime/acs/acs_file.h"

namespace rira {

// Collects images (identical drawings are stored once) and animations into a model.
class ModelBuilder {
 public:
  ModelBuilder();

  std::uint32_t AddImage(const Canvas& canvas);
  std::uint32_t AddPose(const Pose& pose);
  std::uint16_t AddSound(std::vector<std::uint8_t> wav);
  void AddAnimation(rirerazo::acs::Animation animation) {
    model_.animations.push_back(std::move(animation));
  }
  // One frame showing `pose` for duration_cs hundredths of a second.
  rirerazo::acs::Frame PoseFrame(const Pose& pose, std::uint16_t duration_cs = 10);
  // The seven mouth overlays for a frame that shows the head at rest.
  const std::vector<rirerazo::acs::MouthOverlay>& MouthOverlays();

  rirerazo::acs::Character& Model() { return model_; }

 private:
  rirerazo::acs::Character model_;
  // Pixels and size of each image drawn so far, as bytes (a string key: GCC 12 warns
  // falsely about comparing byte vectors in a map).
  std::map<std::string, std::uint32_t> known_images_;
  std::vector<rirerazo::acs::MouthOverlay> overlays_;
};

// The character info: identity, names, palette, voice, balloon, tray icon. Filled by
// rira_info.cpp.
rirerazo::acs::CharacterInfo RiraInfo();
// The two sounds Rira makes (a pop when appearing, a chime when congratulating), as WAVs.
std::vector<std::uint8_t> PopSound();
std::vector<std::uint8_t> ChimeSound();
// Adds every animation and the states; in rira_animations.cpp.
void AddRiraAnimations(ModelBuilder& builder);

// The whole character.
rirerazo::acs::Character BuildRira();

}  // namespace rira
