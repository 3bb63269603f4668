#include "impress/impress_app.h"

#include <thread>

#include "impress/private/office_errors.h"
#include "impress/private/uno_office.h"

namespace rirerazo::impress {
namespace {

using Clock = std::chrono::steady_clock;

// One Launch waits this long for the office to accept; the player's retries add more.
constexpr auto kLaunchWait = std::chrono::milliseconds(6000);
constexpr std::int64_t kConnectRetryMs = 100;
// A show that never comes up within this time counts as ended.
constexpr auto kShowStartLimit = std::chrono::seconds(30);
// How long the office may take to end by itself before it is killed.
constexpr int kQuitGraceMs = 5000;

}  // namespace

ImpressApp::ImpressApp(std::string program_folder, ImpressModuleCall call)
    : program_folder_(std::move(program_folder)), call_(std::move(call)) {
  if (!call_.pause) {
    call_.pause = [](std::int64_t ms) {
      std::this_thread::sleep_for(std::chrono::milliseconds(ms));
    };
  }
  events_->SetWaitingCallback(call_.events_waiting);
}

ImpressApp::~ImpressApp() {
  events_->SetWaitingCallback(nullptr);
  ShutDown(0);
}

pid_t ImpressApp::OfficePid() const {
  return process_ ? process_->Pid() : 0;
}

UnoOffice& ImpressApp::Office() {
  if (office_) return *office_;
  if (process_) throw RuntimeError(kOfficeBusy, "The presentation application is starting");
  throw RuntimeError(err::kObjectRequired, "The presentation application is not running");
}

void ImpressApp::Launch() {
  if (office_) return;
  if (!process_) {
    profile_ = std::make_unique<TemporaryFolder>("rirerazo-office-");
    process_ = std::make_unique<OfficeProcess>(program_folder_, profile_->Path());
    if (profile_->Path().empty() || !process_->Start()) {
      ShutDown(0);
      throw RuntimeError(kCannotStartOffice, "The presentation application cannot be started");
    }
  }
  if (!Connect(Clock::now() + kLaunchWait)) {
    throw RuntimeError(kOfficeBusy, "The presentation application is starting");
  }
}

// Tries to connect until `until`, pausing between tries; raises when the office ended.
bool ImpressApp::Connect(Clock::time_point until) {
  for (;;) {
    if (!process_->Running()) {
      ShutDown(0);
      throw RuntimeError(kCannotStartOffice,
                         "The presentation application ended while it was starting");
    }
    office_ = UnoOffice::TryConnect(
        program_folder_, process_->PipeName(), events_,
        {call_.pause, [this] { return process_->Running(); }, [this] { process_->Stop(0); }});
    if (office_) return true;
    if (Clock::now() >= until) return false;
    call_.pause(kConnectRetryMs);
  }
}

void ImpressApp::Activate() {
  Office().BringToFront();
}

void ImpressApp::SetVisible(bool visible) {
  Office().SetVisible(visible);
}

void ImpressApp::SetWindowState(platform::AppWindowState state) {
  Office().SetMinimized(state == platform::AppWindowState::kMinimized);
}

void ImpressApp::OpenPresentation(const std::string& path, bool, bool, bool) {
  Office().Open(path);
  loop_ = false;
  use_timings_ = true;
}

std::int32_t ImpressApp::SlideCount() {
  return Office().SlideCount();
}

void ImpressApp::SetLoopUntilStopped(bool loop) {
  Office().SetEndless(loop);
  loop_ = loop;
}

void ImpressApp::SetAdvanceMode(platform::SlideAdvanceMode mode) {
  use_timings_ = mode == platform::SlideAdvanceMode::kUseSlideTimings;
  Office().SetUseSlideTimings(use_timings_);
}

void ImpressApp::RunSlideShow() {
  UnoOffice& office = Office();
  events_->ShowStarted();
  office.StartShow();
  show_on_screen_ = true;
  show_was_running_ = false;
  show_started_ = Clock::now();
  office.AttachListener();
}

void ImpressApp::NextSlide() {
  Office().NextSlide();
}

void ImpressApp::CloseActiveWindow() {
  Office().CloseWindow();
}

void ImpressApp::ClosePresentation() {
  show_on_screen_ = false;
  Office().CloseDocument();
}

void ImpressApp::Quit() {
  Office();
  ShutDown(kQuitGraceMs);
}

int ImpressApp::DeliverEvents() {
  CheckShow();
  int delivered = 0;
  while (std::optional<ShowEvent> event = events_->Take()) {
    ++delivered;
    if (event->kind == ShowEvent::Kind::kEnd) {
      show_on_screen_ = false;
      if (event->end_show && office_) {
        try {
          office_->EndShow();
        } catch (const RuntimeError&) {
        }
      }
    }
    if (listener_ == nullptr) continue;
    switch (event->kind) {
      case ShowEvent::Kind::kBegin:
        listener_->OnSlideShowBegin();
        break;
      case ShowEvent::Kind::kNextSlide:
        listener_->OnSlideShowNextSlide(event->slide_index);
        break;
      case ShowEvent::Kind::kEnd:
        listener_->OnSlideShowEnd();
        break;
    }
  }
  return delivered;
}

// Runs on the player's thread while a show is on screen: attaches the listener once the
// show has its controller, and notices a show that stopped running (the user ended it) or
// never came up, and an office that went away.
void ImpressApp::CheckShow() {
  if (!show_on_screen_ || events_->Ended()) return;
  if (!process_ || !process_->Running()) {
    OfficeGone();
    return;
  }
  try {
    office_->AttachListener();
    if (office_->ShowRunning()) {
      show_was_running_ = true;
    } else if (show_was_running_ || Clock::now() - show_started_ > kShowStartLimit) {
      events_->ShowEnded();
    }
  } catch (const RuntimeError&) {
    if (!process_->Running()) OfficeGone();
  }
}

// The office ended by itself (it crashed or was killed): the show is over and nothing of
// the connection is used again.
void ImpressApp::OfficeGone() {
  events_->ShowEnded();
  ShutDown(0);
}

void ImpressApp::ShutDown(int grace_ms) {
  if (office_ && grace_ms > 0) office_->Terminate(std::chrono::milliseconds(grace_ms));
  office_.reset();
  if (process_) process_->Stop(grace_ms);
  process_.reset();
  profile_.reset();
}

}  // namespace rirerazo::impress
