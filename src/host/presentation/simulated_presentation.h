// A simulated presentation application: it opens real .pptx and .odp files (their
// slides, hidden slides and advance timings), runs the show on the host's clock and
// raises the show's events when the host's message loop asks it to deliver them.
//
// Calls before Launch, or that need a presentation when none is open, raise the errors
// the real application raises for a missing object. A file it cannot read fails to open
// with the application's open error. The host can make the next calls fail (FailNextCalls)
// so error paths, such as a busy application at start, run in tests.
#pragma once

#include <cstdint>
#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "host/presentation/presentation_file.h"
#include "host/presentation/slide_show.h"
#include "platform/clock.h"
#include "platform/presentation_app.h"

namespace rirerazo::host {

// The error a presentation that cannot be opened raises (0x80004005).
inline constexpr long kPresentationOpenError = -2147467259L;

class SimulatedPresentationApp final : public platform::PresentationApp {
 public:
  // `clock` must outlive the application.
  explicit SimulatedPresentationApp(const platform::Clock& clock) : clock_(clock) {}

  void Launch() override;
  void Activate() override;
  void SetVisible(bool visible) override;
  void SetWindowState(platform::AppWindowState state) override;
  void OpenPresentation(const std::string& path, bool read_only, bool untitled,
                        bool with_window) override;
  std::int32_t SlideCount() override;
  void SetLoopUntilStopped(bool loop) override;
  void SetAdvanceMode(platform::SlideAdvanceMode mode) override;
  void RunSlideShow() override;
  void NextSlide() override;
  void CloseActiveWindow() override;
  void ClosePresentation() override;
  void Quit() override;
  void SetEventListener(platform::PresentationEvents* listener) override { listener_ = listener; }

  // For the host's message loop: when something is next due (now, when events wait), and
  // delivering what is due at the clock's present time (returns the number of events).
  std::optional<std::int64_t> NextDueMs() const;
  int DeliverDue();

  // The user ends the running show (as by pressing Escape).
  void StopShowByUser();
  // Makes the next `count` calls raise RuntimeError{number, description}.
  void FailNextCalls(int count, long number, std::string description);

  // What a trace or a test may look at.
  bool Running() const { return launched_; }
  bool Visible() const { return visible_; }
  platform::AppWindowState WindowState() const { return window_state_; }
  const std::optional<std::string>& PresentationPath() const { return path_; }
  const ShowState& Show() const { return show_; }
  const ShowSettings& Settings() const { return settings_; }

 private:
  // Raises an injected failure, or the missing-object error when not launched.
  void Enter(bool needs_presentation = false);
  void Apply(ShowInput input);

  const platform::Clock& clock_;
  platform::PresentationEvents* listener_ = nullptr;
  bool launched_ = false;
  bool visible_ = false;
  platform::AppWindowState window_state_ = platform::AppWindowState::kNormal;
  std::optional<std::string> path_;
  std::vector<SlideInfo> slides_;
  ShowSettings settings_;
  ShowState show_;
  std::deque<ShowEvent> pending_;
  int failures_left_ = 0;
  long failure_number_ = 0;
  std::string failure_description_;
};

}  // namespace rirerazo::host
