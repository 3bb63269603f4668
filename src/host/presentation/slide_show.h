// The states of a simulated slide show as a pure transition function: given the show's
// state, an input, the slides and the settings, it gives the next state and the events to
// raise. The simulated presentation application applies it and delivers the events.
//
// A show starts at the first slide that is not hidden and moves on to the next such
// slide; after the last one it ends, or starts again at the first when it loops. With
// slide timings in use, a slide that has an advance time moves on by itself once that
// time (at least kMinSlideShownMs) has passed since it was shown; a slide without one waits
// for a request. The minimum keeps a looping show of zero-second slides from running
// without end at one instant of a virtual clock.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "host/presentation/presentation_file.h"

namespace rirerazo::host {

inline constexpr std::int64_t kMinSlideShownMs = 100;

enum class ShowPhase { kIdle, kRunning, kEnded };

struct ShowState {
  ShowPhase phase = ShowPhase::kIdle;
  std::int32_t slide = 0;        // 1-based index of the slide shown; 0 when none
  std::int64_t shown_at_ms = 0;  // when that slide was shown
  friend bool operator==(const ShowState&, const ShowState&) = default;
};

struct ShowSettings {
  bool loop_until_stopped = false;
  bool use_slide_timings = false;
};

enum class ShowInput {
  kRun,    // start the show (again from its first slide)
  kNext,   // the next slide, on request
  kTimer,  // the clock reached the time ShowDueMs gave
  kStop,   // the user or the application ends the show
};

struct ShowEvent {
  enum class Kind { kBegin, kNextSlide, kEnd };
  Kind kind = Kind::kBegin;
  std::int32_t slide = 0;  // for kNextSlide
  friend bool operator==(const ShowEvent&, const ShowEvent&) = default;
};

struct ShowStep {
  ShowState state;
  std::vector<ShowEvent> events;
  bool refused = false;  // the input needs a running show and there is none
};

ShowStep ShowTransition(const ShowState& state, ShowInput input,
                        const std::vector<SlideInfo>& slides, const ShowSettings& settings,
                        std::int64_t now_ms);

// When the kTimer input is due for `state`; nothing when no slide timing applies.
std::optional<std::int64_t> ShowDueMs(const ShowState& state, const std::vector<SlideInfo>& slides,
                                      const ShowSettings& settings);

}  // namespace rirerazo::host
