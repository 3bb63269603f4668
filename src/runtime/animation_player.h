// Plays one character's animations frame by frame on the runtime's time line: frame
// durations, seeded branching, and the way an animation ends (exit frames or a return
// animation), including the held pose a finished animation leaves until the next one starts.
// The owner asks for the time the current frame ends and calls Step at that time; nothing
// here reads a clock.
#pragma once

#include <cstdint>

#include "runtime/character_data.h"
#include "runtime/random.h"

namespace rirerazo::runtime {

// The frame after `current` once its duration has run out. `percent` (1..100) is consulted
// only when the frame branches and the animation is not exiting.
struct FrameStep {
  int frame = -1;
  bool finished = false;
};
FrameStep ChooseNextFrame(const AnimationTiming& animation, int current, bool exiting, int percent);

// Loop guards: an exit path may cycle, and empty frames of duration 0 may branch among
// themselves; both would otherwise spin forever at one instant.
inline constexpr int kMaxZeroDurationSteps = 256;

class AnimationPlayer {
 public:
  // `data` must outlive the player (the runtime keeps the shared data alive).
  explicit AnimationPlayer(const CharacterData* data = nullptr) : data_(data) {}

  // Starts an animation at frame 0; any current animation is dropped without its exit.
  void Start(int animation, std::int64_t now_ms);
  // Ends what plays or is held: follows exit frames or plays the return animation. Does
  // nothing when nothing needs ending.
  void BeginExit(std::int64_t now_ms);
  // Moves past the current frame; call when the time has reached FrameEndMs(). With
  // `exit_on_loop`, a jump backwards (a loop) ends the animation through its exit instead.
  void Step(Random& random, bool exit_on_loop);
  // Forgets everything (the character was hidden).
  void Clear();

  bool Playing() const { return mode_ != Mode::kStopped; }
  bool Exiting() const { return mode_ == Mode::kExiting; }
  std::int64_t FrameEndMs() const { return frame_end_ms_; }
  // The finished animation left a pose that must be ended before another animation starts.
  bool NeedsExit() const { return mode_ == Mode::kStopped && needs_exit_; }
  // Playing normally in a loop that only an exit can leave.
  bool Endless() const;

  // What a renderer draws: the last frame that had images (-1 when none yet).
  int ShownAnimation() const { return shown_animation_; }
  int ShownFrame() const { return shown_frame_; }
  bool ShownFrameHasMouths() const;
  int CurrentAnimation() const { return animation_; }

 private:
  enum class Mode { kStopped, kPlaying, kExiting };

  const AnimationTiming& Current() const { return data_->animations[std::size_t(animation_)]; }
  void Enter(int frame);
  void Finish();
  void ExitPlaying();

  const CharacterData* data_;
  Mode mode_ = Mode::kStopped;
  int animation_ = -1;
  int frame_ = -1;
  std::int64_t frame_end_ms_ = 0;
  bool returning_ = false;  // playing a return animation, which has no return of its own
  bool needs_exit_ = false;
  int exit_steps_ = 0;
  int zero_steps_ = 0;
  int shown_animation_ = -1;
  int shown_frame_ = -1;
};

}  // namespace rirerazo::runtime
