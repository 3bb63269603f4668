#include "runtime/animation_player.h"

namespace rirerazo::runtime {

FrameStep ChooseNextFrame(const AnimationTiming& animation, int current, bool exiting,
                          int percent) {
  const FrameTiming& frame = animation.frames[std::size_t(current)];
  if (exiting) {
    if (frame.exit_frame >= 0) return {frame.exit_frame, false};
    if (frame.exit_frame == kExitStop) return {-1, true};
  }
  if (!exiting || frame.exit_frame == kExitNone) {
    int r = percent;
    for (const acs::Branch& branch : frame.branches) {
      if (r <= branch.probability_percent) return {branch.target_frame, false};
      r -= branch.probability_percent;
    }
  }
  int next = current + 1;
  if (std::size_t(next) >= animation.frames.size()) return {-1, true};
  return {next, false};
}

void AnimationPlayer::Start(int animation, std::int64_t now_ms) {
  animation_ = animation;
  mode_ = Mode::kPlaying;
  returning_ = false;
  needs_exit_ = false;
  exit_steps_ = 0;
  zero_steps_ = 0;
  frame_end_ms_ = now_ms;
  Enter(0);
}

void AnimationPlayer::Enter(int frame) {
  frame_ = frame;
  const FrameTiming& timing = Current().frames[std::size_t(frame)];
  frame_end_ms_ += timing.duration_ms;
  zero_steps_ = timing.duration_ms == 0 ? zero_steps_ + 1 : 0;
  if (timing.has_images) {
    shown_animation_ = animation_;
    shown_frame_ = frame;
  }
}

void AnimationPlayer::Finish() {
  const AnimationTiming& animation = Current();
  needs_exit_ = false;
  if (mode_ == Mode::kPlaying && !returning_) {
    if (animation.transition == Transition::kReturnAnimation) {
      needs_exit_ = animation.return_index >= 0;
    } else if (animation.transition == Transition::kExitBranches &&
               shown_animation_ == animation_ && shown_frame_ >= 0) {
      needs_exit_ = animation.frames[std::size_t(shown_frame_)].exit_frame >= 0;
      frame_ = shown_frame_;
    }
  }
  mode_ = Mode::kStopped;
}

// Ends an animation that is still playing normally, at the end of its current frame.
void AnimationPlayer::ExitPlaying() {
  const AnimationTiming& animation = Current();
  if (animation.transition == Transition::kExitBranches) {
    mode_ = Mode::kExiting;
    exit_steps_ = 0;
    return;
  }
  int return_index = returning_ ? -1 : animation.return_index;
  if (animation.transition == Transition::kReturnAnimation && return_index >= 0) {
    std::int64_t at = frame_end_ms_;
    Start(return_index, at);
    returning_ = true;
    return;
  }
  mode_ = Mode::kStopped;
  needs_exit_ = false;
}

void AnimationPlayer::BeginExit(std::int64_t now_ms) {
  if (mode_ == Mode::kPlaying) {
    ExitPlaying();
    return;
  }
  if (!NeedsExit()) return;
  needs_exit_ = false;
  const AnimationTiming& animation = Current();
  if (animation.transition == Transition::kReturnAnimation) {
    Start(animation.return_index, now_ms);
    returning_ = true;
    return;
  }
  // Resume from the held frame along its exit frames.
  mode_ = Mode::kExiting;
  exit_steps_ = 0;
  zero_steps_ = 0;
  frame_end_ms_ = now_ms;
}

void AnimationPlayer::Step(Random& random, bool exit_on_loop) {
  if (mode_ == Mode::kStopped) return;
  const AnimationTiming& animation = Current();
  bool exiting = mode_ == Mode::kExiting;
  bool branches = !animation.frames[std::size_t(frame_)].branches.empty();
  int percent = branches && !exiting ? random.Percent() : 100;
  FrameStep next = ChooseNextFrame(animation, frame_, exiting, percent);
  if (!exiting && exit_on_loop && !next.finished && next.frame <= frame_) {
    ExitPlaying();
    if (mode_ != Mode::kExiting) return;  // stopped, or a return animation started
    next = ChooseNextFrame(animation, frame_, true, 100);
  }
  int limit = 2 * int(animation.frames.size()) + 8;
  if (mode_ == Mode::kExiting && ++exit_steps_ > limit) next.finished = true;
  if (zero_steps_ >= kMaxZeroDurationSteps) next.finished = true;
  if (next.finished) {
    Finish();
    return;
  }
  Enter(next.frame);
}

void AnimationPlayer::Clear() {
  mode_ = Mode::kStopped;
  animation_ = -1;
  frame_ = -1;
  needs_exit_ = false;
  returning_ = false;
  shown_animation_ = -1;
  shown_frame_ = -1;
}

bool AnimationPlayer::Endless() const {
  return mode_ == Mode::kPlaying && !Current().reaches_end[std::size_t(frame_)];
}

bool AnimationPlayer::ShownFrameHasMouths() const {
  if (shown_animation_ < 0) return false;
  const AnimationTiming& animation = data_->animations[std::size_t(shown_animation_)];
  return animation.frames[std::size_t(shown_frame_)].has_mouths;
}

}  // namespace rirerazo::runtime
