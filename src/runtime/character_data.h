// The part of a character file the runtime schedules by: animations reduced to their timing
// (frame durations, branches, exit frames, whether a frame carries mouth overlays), the state
// table resolved to animation indices, and the balloon and voice defaults. Built once per
// loaded file and shared by every id the file is loaded under; the full file model stays
// reachable through `file` for a renderer that draws the frames.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "runtime/acs/acs_file.h"

namespace rirerazo::runtime {

inline constexpr std::int16_t kExitStop = -1;
inline constexpr std::int16_t kExitNone = -2;

struct FrameTiming {
  std::int32_t duration_ms = 0;
  std::int16_t exit_frame = kExitNone;  // >= 0 target, kExitStop, kExitNone
  bool has_images = false;
  bool has_mouths = false;
  std::vector<acs::Branch> branches;
};

enum class Transition : std::uint8_t { kReturnAnimation, kExitBranches, kNone };

struct AnimationTiming {
  std::string name;        // as the file's directory spells it
  std::string upper_name;  // for case-insensitive lookup
  Transition transition = Transition::kNone;
  int return_index = -1;  // the return animation, when the file has it
  std::vector<FrameTiming> frames;
  // reaches_end[i]: from frame i, normal sequencing can still reach the end (false for a frame
  // inside an unconditional loop).
  std::vector<bool> reaches_end;
};

// Standard states the runtime plays by itself.
enum class StateId : std::uint8_t {
  kShowing,
  kHiding,
  kSpeaking,
  kMovingLeft,
  kMovingRight,
  kMovingUp,
  kMovingDown,
  kGesturingLeft,
  kGesturingRight,
  kGesturingUp,
  kGesturingDown,
  kIdling1,
  kIdling2,
  kIdling3,
  kListening,
  kHearing,
  kCount
};

struct BalloonDefaults {
  bool enabled = true;  // the file enables the word balloon
  int lines = 2;
  int chars_per_line = 32;
  std::uint32_t text_colour = 0x00000000;  // 0x00BBGGRR
  std::uint32_t back_colour = 0x00E1FFFF;
  std::uint32_t border_colour = 0x00000000;
  std::string font_name = "MS Sans Serif";
  std::int32_t font_size = 8;  // points
  bool size_to_text = false;
  bool auto_hide = true;
  bool auto_pace = true;
};

struct VoiceDefaults {
  std::int32_t language_id = 0x409;
  std::string mode_id;                // the file's speech mode ("{...}"); empty: none
  std::int32_t words_per_minute = 0;  // 0: the engine's default
  std::int32_t pitch = 0;             // 0: the engine's default
};

struct CharacterData {
  std::string name;
  std::string description;
  int width_px = 0;
  int height_px = 0;
  std::vector<AnimationTiming> animations;
  std::vector<std::vector<int>> states;  // indexed by StateId
  BalloonDefaults balloon;
  VoiceDefaults voice;
  std::shared_ptr<const acs::Character> file;  // for drawing; may be null in tests

  // The animation index for a name (ASCII case ignored), -1 when absent.
  int FindAnimation(std::string_view name) const;
  const std::vector<int>& State(StateId id) const { return states[std::size_t(id)]; }

 private:
  friend std::shared_ptr<const CharacterData> BuildCharacterData(
      std::shared_ptr<const acs::Character> file);
  std::unordered_map<std::string, int> by_upper_name_;
};

// Reduces a character file model to what the runtime needs. Never throws for odd data:
// branch targets and exit frames out of range are dropped, unknown state animations skipped.
std::shared_ptr<const CharacterData> BuildCharacterData(std::shared_ptr<const acs::Character> file);

// Computes AnimationTiming::reaches_end.
std::vector<bool> FramesReachingEnd(const std::vector<FrameTiming>& frames);

using acs::EqualsIgnoreCase;
using acs::UpperAscii;

}  // namespace rirerazo::runtime
