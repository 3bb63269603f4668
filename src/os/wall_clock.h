// The real passage of time, for pacing a virtual clock to the wall clock (--realtime). Only
// hosts use it; the core and the runtime see time through platform::Clock alone.
#pragma once

#include <cstdint>

namespace rirerazo::os {

// Milliseconds on a monotonic clock (an arbitrary origin; never goes backwards).
std::int64_t MonotonicNowMs();

// Blocks the calling thread for about `duration_ms` (nothing for 0 or less).
void SleepForMs(std::int64_t duration_ms);

}  // namespace rirerazo::os
