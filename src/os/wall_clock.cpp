#include "os/wall_clock.h"

#include <chrono>
#include <thread>

namespace rirerazo::os {

std::int64_t MonotonicNowMs() {
  using std::chrono::duration_cast;
  using std::chrono::milliseconds;
  return duration_cast<milliseconds>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

void SleepForMs(std::int64_t duration_ms) {
  if (duration_ms > 0) std::this_thread::sleep_for(std::chrono::milliseconds(duration_ms));
}

}  // namespace rirerazo::os
