#include "desktop/speech/private/timed_utterance.h"

#include <algorithm>
#include <limits>

namespace rirerazo::desktop {

TimedUtterance::TimedUtterance(std::vector<runtime::SpeechProgress> reports,
                               std::unique_ptr<AudioStream> stream)
    : reports_(std::move(reports)), stream_(std::move(stream)) {}

TimedUtterance::~TimedUtterance() {
  if (stream_) stream_->Stop();
}

// The runtime schedules its next poll at this time on its own clock: the report's time in
// the sound, shifted by how far the sound trailed that clock, so a late device neither makes
// it poll in a busy loop nor report early.
std::optional<std::int64_t> TimedUtterance::NextDueMs() const {
  if (next_ >= reports_.size()) return std::nullopt;
  return reports_[next_].at_ms + lag_ms_;
}

bool TimedUtterance::Poll(std::int64_t elapsed_ms, runtime::SpeechProgress& report) {
  if (next_ >= reports_.size()) return false;
  std::int64_t position_ms = elapsed_ms;
  if (stream_) {
    position_ms = stream_->Finished() ? std::numeric_limits<std::int64_t>::max()
                                      : std::max(stream_->PlayedMs(), elapsed_ms - kMaxLagMs);
    lag_ms_ = std::clamp<std::int64_t>(elapsed_ms - position_ms, 0, kMaxLagMs);
  }
  if (reports_[next_].at_ms > position_ms) return false;
  report = reports_[next_++];
  return true;
}

void TimedUtterance::Cancel() {
  next_ = reports_.size();
  if (stream_) stream_->Stop();
}

}  // namespace rirerazo::desktop
