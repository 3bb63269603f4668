// Puts the simulated presentation application into a host's message loop: its slide
// timings are due on the loop's clock, and its events reach the player when it yields.
#pragma once

#include "host/event_source.h"
#include "host/presentation/simulated_presentation.h"

namespace rirerazo::host {

class PresentationSource : public EventSource {
 public:
  explicit PresentationSource(SimulatedPresentationApp& app) : app_(app) {}

  std::optional<std::int64_t> NextDueMs() const override { return app_.NextDueMs(); }
  bool Serve(std::int64_t /*now_ms*/) override { return app_.DeliverDue() > 0; }
  bool HasPendingWork() const override { return app_.NextDueMs().has_value(); }
  // A running show whose slide has no timing waits for someone to advance it.
  bool AwaitsUserInput() const override {
    return app_.Show().phase == ShowPhase::kRunning && !app_.NextDueMs();
  }

 private:
  SimulatedPresentationApp& app_;
};

}  // namespace rirerazo::host
