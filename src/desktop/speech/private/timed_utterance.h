// An utterance whose reports are known in advance and fall due as its sound plays: each
// report at its time in the sound, read from the stream's played position. A silent
// utterance (a thought) has no stream and follows the runtime's clock instead.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "desktop/audio/audio_output.h"
#include "runtime/speech_engine.h"

namespace rirerazo::desktop {

class TimedUtterance : public runtime::Utterance {
 public:
  // `reports` in time order, the last one kEnd. `stream` may be null (silent).
  TimedUtterance(std::vector<runtime::SpeechProgress> reports, std::unique_ptr<AudioStream> stream);
  ~TimedUtterance() override;

  std::optional<std::int64_t> NextDueMs() const override;
  bool Poll(std::int64_t elapsed_ms, runtime::SpeechProgress& report) override;
  void Cancel() override;

  // How far the sound may trail the runtime's clock before the clock wins: a sound device
  // that stalls must not hold speech (and the script) up for good.
  static constexpr std::int64_t kMaxLagMs = 1000;

 private:
  std::vector<runtime::SpeechProgress> reports_;
  std::unique_ptr<AudioStream> stream_;
  std::size_t next_ = 0;
  std::int64_t lag_ms_ = 0;  // how far the sound trailed the runtime's clock at the last poll
};

}  // namespace rirerazo::desktop
