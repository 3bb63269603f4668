#include "core/ppt/slide_pause.h"

namespace rirerazo {

void WaitSlidePauseAndAdvance(platform::Clock& clock, platform::MessageLoop& loop,
                              std::int32_t pause_s,
                              const std::shared_ptr<CPowerPoint>& driver_slot) {
  // The clock is read with one-second resolution: whole-second ticks are counted.
  const std::int64_t start_s = clock.NowMs() / 1000;
  do {
    loop.DoEvents();
    loop.Sleep(kSlidePauseStepMs);
  } while (clock.NowMs() / 1000 - start_s < pause_s);
  // Held for the call: advancing may raise events that replace the driver.
  if (std::shared_ptr<CPowerPoint> driver = driver_slot) driver->AdvanceSlide();
}

}  // namespace rirerazo
