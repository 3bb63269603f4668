#include "host/presentation/simulated_presentation.h"

#include "platform/runtime_error.h"

namespace rirerazo::host {

void SimulatedPresentationApp::Enter(bool needs_presentation) {
  if (failures_left_ > 0) {
    --failures_left_;
    throw RuntimeError(failure_number_, failure_description_);
  }
  if (!launched_) {
    throw RuntimeError(err::kObjectRequired, "The presentation application is not running");
  }
  if (needs_presentation && !path_) {
    throw RuntimeError(err::kObjectRequired, "No presentation is open");
  }
}

void SimulatedPresentationApp::Launch() {
  if (failures_left_ > 0) Enter();
  launched_ = true;
}

void SimulatedPresentationApp::Activate() {
  Enter();
}

void SimulatedPresentationApp::SetVisible(bool visible) {
  Enter();
  visible_ = visible;
}

void SimulatedPresentationApp::SetWindowState(platform::AppWindowState state) {
  Enter();
  window_state_ = state;
}

void SimulatedPresentationApp::OpenPresentation(const std::string& path, bool, bool, bool) {
  Enter();
  PresentationInfo info;
  try {
    info = ReadPresentationFile(path);
  } catch (const RuntimeError& error) {
    throw RuntimeError(kPresentationOpenError,
                       "The presentation application could not open " + error.Description());
  }
  if (show_.phase == ShowPhase::kRunning) Apply(ShowInput::kStop);
  path_ = path;
  slides_ = std::move(info.slides);
  settings_ = {};
  show_ = {};
}

std::int32_t SimulatedPresentationApp::SlideCount() {
  Enter(true);
  return static_cast<std::int32_t>(slides_.size());
}

void SimulatedPresentationApp::SetLoopUntilStopped(bool loop) {
  Enter(true);
  settings_.loop_until_stopped = loop;
}

void SimulatedPresentationApp::SetAdvanceMode(platform::SlideAdvanceMode mode) {
  Enter(true);
  settings_.use_slide_timings = mode == platform::SlideAdvanceMode::kUseSlideTimings;
}

void SimulatedPresentationApp::RunSlideShow() {
  Enter(true);
  Apply(ShowInput::kRun);
}

void SimulatedPresentationApp::NextSlide() {
  Enter(true);
  if (show_.phase != ShowPhase::kRunning) {
    throw RuntimeError(err::kObjectRequired, "No slide show is running");
  }
  Apply(ShowInput::kNext);
}

void SimulatedPresentationApp::CloseActiveWindow() {
  Enter();
}

void SimulatedPresentationApp::ClosePresentation() {
  Enter(true);
  if (show_.phase == ShowPhase::kRunning) Apply(ShowInput::kStop);
  path_.reset();
  slides_.clear();
  show_ = {};
}

void SimulatedPresentationApp::Quit() {
  Enter();
  launched_ = false;
  visible_ = false;
  path_.reset();
  slides_.clear();
  show_ = {};
  pending_.clear();
}

void SimulatedPresentationApp::StopShowByUser() {
  if (show_.phase == ShowPhase::kRunning) Apply(ShowInput::kStop);
}

void SimulatedPresentationApp::FailNextCalls(int count, long number, std::string description) {
  failures_left_ = count;
  failure_number_ = number;
  failure_description_ = std::move(description);
}

void SimulatedPresentationApp::Apply(ShowInput input) {
  ShowStep step = ShowTransition(show_, input, slides_, settings_, clock_.NowMs());
  show_ = step.state;
  pending_.insert(pending_.end(), step.events.begin(), step.events.end());
}

std::optional<std::int64_t> SimulatedPresentationApp::NextDueMs() const {
  if (!pending_.empty()) return clock_.NowMs();
  return ShowDueMs(show_, slides_, settings_);
}

int SimulatedPresentationApp::DeliverDue() {
  int delivered = 0;
  std::optional<std::int64_t> due = ShowDueMs(show_, slides_, settings_);
  if (pending_.empty() && due && *due <= clock_.NowMs()) Apply(ShowInput::kTimer);
  // A handler may ask for the next slide or close the show; its events queue behind.
  while (!pending_.empty()) {
    ShowEvent event = pending_.front();
    pending_.pop_front();
    if (listener_ == nullptr) continue;
    ++delivered;
    switch (event.kind) {
      case ShowEvent::Kind::kBegin:
        listener_->OnSlideShowBegin();
        break;
      case ShowEvent::Kind::kNextSlide:
        listener_->OnSlideShowNextSlide(event.slide);
        break;
      case ShowEvent::Kind::kEnd:
        listener_->OnSlideShowEnd();
        break;
    }
  }
  return delivered;
}

}  // namespace rirerazo::host
