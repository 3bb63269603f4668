// The silent output: every sound "plays" by a clock, in silence, and ends when its length
// has passed. Used when no sound server answers, and by tests that need sound timing on a
// clock of their own.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>

#include "desktop/audio/audio_output.h"

namespace rirerazo::desktop {

// `now_ms` is the clock sounds are timed by (milliseconds, never going back); empty: the
// steady clock.
std::unique_ptr<AudioOutput> MakeNullAudioOutput(std::function<std::int64_t()> now_ms = {});

}  // namespace rirerazo::desktop
