// The presentation application of the desktop: LibreOffice Impress, started as a process of
// our own and driven over UNO. Calls run on the player's thread and wait for the office's
// answer; the show's events arrive on the office's threads, wait in a queue, and reach the
// listener only from DeliverEvents, which the host's loop calls when the player yields.
//
// Launch starts the office and waits a few seconds for it to accept the connection; while
// it is still starting, Launch (and every other call) raises the busy error, which the
// player retries. Quit ends the office and removes its profile; so does the destructor.
#pragma once

#include <sys/types.h>

#include <chrono>
#include <memory>
#include <string>

#include "impress/office_process.h"
#include "impress/show_events.h"
#include "impress_module.h"

namespace rirerazo::impress {

class UnoOffice;

class ImpressApp final : public QueuedPresentationApp {
 public:
  // `program_folder` holds soffice.bin (FindOfficeProgramFolder).
  ImpressApp(std::string program_folder, ImpressModuleCall call);
  ~ImpressApp() override;
  ImpressApp(const ImpressApp&) = delete;
  ImpressApp& operator=(const ImpressApp&) = delete;

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

  // Looks at the show first (a show that stopped, or an office that went away, has ended),
  // then delivers the waiting events one at a time: a handler may yield and so deliver the
  // next ones itself.
  int DeliverEvents() override;
  bool HasWaitingEvents() const override { return events_->HasWaiting(); }
  bool ShowOnScreen() const override { return show_on_screen_; }

  // The office's process id while it runs (0 otherwise); for tests and measurements.
  pid_t OfficePid() const;

 private:
  UnoOffice& Office();
  bool Connect(std::chrono::steady_clock::time_point until);
  void CheckShow();
  void OfficeGone();
  void ShutDown(int grace_ms);

  std::string program_folder_;
  ImpressModuleCall call_;
  std::shared_ptr<ShowEventQueue> events_ = std::make_shared<ShowEventQueue>();
  platform::PresentationEvents* listener_ = nullptr;
  std::unique_ptr<TemporaryFolder> profile_;
  std::unique_ptr<OfficeProcess> process_;
  std::unique_ptr<UnoOffice> office_;
  bool loop_ = false;
  bool use_timings_ = true;
  bool show_on_screen_ = false;
  bool show_was_running_ = false;
  std::chrono::steady_clock::time_point show_started_;
};

}  // namespace rirerazo::impress
