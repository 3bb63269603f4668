// The pause before an automatic slide change. The interpreter ends every script run with
// the speech of bookmark 333333333 while auto-advance is on; when a character reaches it,
// the bookmark handler calls this.
#pragma once

#include <cstdint>
#include <memory>

#include "core/ppt/power_point.h"
#include "platform/clock.h"
#include "platform/message_loop.h"

namespace rirerazo {

inline constexpr std::int64_t kSlidePauseStepMs = 100;

// Serves events and sleeps in 100 ms steps until the clock's whole seconds have ticked
// `pause_s` times since the call (so a pause of 5 lasts four to five seconds; the
// loop runs once for 0 or less), then advances the show of the driver held in driver_slot
// at that moment. Without a driver nothing is advanced. Events that arrive meanwhile run
// inside the wait, a further bookmark 333333333 included.
void WaitSlidePauseAndAdvance(platform::Clock& clock, platform::MessageLoop& loop,
                              std::int32_t pause_s,
                              const std::shared_ptr<CPowerPoint>& driver_slot);

}  // namespace rirerazo
