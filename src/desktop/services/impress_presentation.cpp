#include "desktop/services/impress_presentation.h"

#include <QApplication>
#include <QMetaObject>
#include <QWidget>
#include <ostream>

#include "desktop/host/desktop_loop.h"
#include "os/module_loader.h"
#include "platform/runtime_error.h"

namespace rirerazo::desktop {
namespace {

// What creating an application that is not there raises.
constexpr long kCannotCreateObject = 429;
// A show on screen is looked at this often.
constexpr std::int64_t kShowCheckMs = 200;

constexpr const char* kMissingNotice =
    "rirerazo: slide shows need LibreOffice Impress; install the packages "
    "libreoffice-impress and libreoffice-gtk3\n";

}  // namespace

std::unique_ptr<QueuedPresentationApp> ImpressPresentation::LoadModule(
    const ImpressModuleCall& call, std::ostream& err) {
  const os::LoadedModule module = os::LoadModule(kImpressModuleFile, kImpressModuleEntry);
  QueuedPresentationApp* app = nullptr;
  if (module.entry != nullptr) app = reinterpret_cast<ImpressModuleEntry>(module.entry)(&call);
  if (app == nullptr) {
    err << kMissingNotice;
    if (!module.error.empty()) err << "rirerazo: (" << module.error << ")\n";
  }
  return std::unique_ptr<QueuedPresentationApp>(app);
}

ImpressPresentation::ImpressPresentation(const platform::Clock& clock, DesktopLoop& loop,
                                         std::ostream& err)
    : ImpressPresentation(
          clock, loop, [&err](const ImpressModuleCall& call) { return LoadModule(call, err); }) {}

ImpressPresentation::ImpressPresentation(const platform::Clock& clock, DesktopLoop& loop,
                                         Maker maker)
    : clock_(clock), loop_(loop), maker_(std::move(maker)) {}

// The office goes with the host, however the script ended.
ImpressPresentation::~ImpressPresentation() = default;

void ImpressPresentation::Launch() {
  if (!app_ && !load_failed_) {
    ImpressModuleCall call;
    // From the office's threads: the loop is woken on its own thread.
    call.events_waiting = [loop = &loop_] {
      QMetaObject::invokeMethod(
          loop, [loop] { loop->WakeSoon(); }, Qt::QueuedConnection);
    };
    call.pause = [this](std::int64_t duration_ms) { loop_.Sleep(duration_ms); };
    app_ = maker_(call);
    load_failed_ = !app_;
    if (app_) app_->SetEventListener(listener_);
  }
  if (!app_) {
    throw RuntimeError(kCannotCreateObject, "The presentation application cannot be started");
  }
  app_->Launch();
}

void ImpressPresentation::RunSlideShow() {
  App().RunSlideShow();
  RaiseCharacters();
}

void ImpressPresentation::SetEventListener(platform::PresentationEvents* listener) {
  listener_ = listener;
  if (app_) app_->SetEventListener(listener);
}

QueuedPresentationApp& ImpressPresentation::App() {
  if (!app_)
    throw RuntimeError(err::kObjectRequired, "The presentation application is not running");
  return *app_;
}

std::optional<std::int64_t> ImpressPresentation::NextDueMs() const {
  if (!app_) return std::nullopt;
  if (app_->HasWaitingEvents()) return 0;
  if (app_->ShowOnScreen()) return clock_.NowMs() + kShowCheckMs;
  return std::nullopt;
}

bool ImpressPresentation::Serve(std::int64_t /*now_ms*/) {
  if (!app_) return false;
  if (app_->ShowOnScreen()) RaiseCharacters();
  return app_->DeliverEvents() > 0;
}

bool ImpressPresentation::HasPendingWork() const {
  return app_ && app_->HasWaitingEvents();
}

// A show on screen can still move on or end, by its timings or by the user.
bool ImpressPresentation::AwaitsUserInput() const {
  return app_ && app_->ShowOnScreen();
}

// The characters' windows stay on top of everything, the full-screen show included (a
// window manager may put a full-screen window above them, and without one the newest
// window is on top).
void ImpressPresentation::RaiseCharacters() {
  for (QWidget* window : QApplication::topLevelWidgets()) {
    if (window->isVisible() && window->windowFlags().testFlag(Qt::WindowStaysOnTopHint)) {
      window->raise();
    }
  }
}

}  // namespace rirerazo::desktop
