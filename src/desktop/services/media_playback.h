// One open media item's player behind QtMediaDevice. The device keeps the item's position on
// its own clock and asks the player only to start at a position, to pause, and whether the
// media has ended by itself; a player that never says so is stopped by the device's fallback
// end. Created and used on the GUI thread.
#pragma once

#include <cstdint>

namespace rirerazo::desktop {

class MediaPlayback {
 public:
  virtual ~MediaPlayback() = default;
  // Starts, or resumes after Pause, at `position_ms` from the beginning.
  virtual void Play(std::int64_t position_ms) = 0;
  virtual void Pause() = 0;
  // True once the media has played to its end, or failed, after the last Play.
  virtual bool Ended() const = 0;
};

}  // namespace rirerazo::desktop
