// The desktop's presentation application: slide shows in LibreOffice Impress, through the
// slide-show module (rirerazo-impress.so). The module is loaded when a script first starts
// a show, so the player starts and runs where the office is not installed; there, starting
// a show raises the error of an application that cannot be created (429) and one line on
// standard error names the packages to install.
//
// The module's events arrive on the office's threads; this source wakes the loop for them
// and delivers them when the player yields. While a show is on screen it is looked at
// several times a second (the user may end it, the office may go away), and the
// characters' windows are raised above it.
#pragma once

#include <iosfwd>
#include <memory>
#include <optional>

#include "host/event_source.h"
#include "impress_module.h"
#include "platform/clock.h"
#include "platform/presentation_app.h"

namespace rirerazo::desktop {

class DesktopLoop;

class ImpressPresentation final : public platform::PresentationApp, public host::EventSource {
 public:
  // Makes the module's application; null when the module or the office is missing (after
  // writing the notice to `err`). Tests may put another maker in its place.
  using Maker = std::function<std::unique_ptr<QueuedPresentationApp>(const ImpressModuleCall&)>;
  static std::unique_ptr<QueuedPresentationApp> LoadModule(const ImpressModuleCall& call,
                                                           std::ostream& err);

  // `clock`, `loop` and `err` must outlive the application.
  ImpressPresentation(const platform::Clock& clock, DesktopLoop& loop, std::ostream& err);
  ImpressPresentation(const platform::Clock& clock, DesktopLoop& loop, Maker maker);
  ~ImpressPresentation() override;

  void Launch() override;
  void Activate() override { App().Activate(); }
  void SetVisible(bool visible) override { App().SetVisible(visible); }
  void SetWindowState(platform::AppWindowState state) override { App().SetWindowState(state); }
  void OpenPresentation(const std::string& path, bool read_only, bool untitled,
                        bool with_window) override {
    App().OpenPresentation(path, read_only, untitled, with_window);
  }
  std::int32_t SlideCount() override { return App().SlideCount(); }
  void SetLoopUntilStopped(bool loop) override { App().SetLoopUntilStopped(loop); }
  void SetAdvanceMode(platform::SlideAdvanceMode mode) override { App().SetAdvanceMode(mode); }
  void RunSlideShow() override;
  void NextSlide() override { App().NextSlide(); }
  void CloseActiveWindow() override { App().CloseActiveWindow(); }
  void ClosePresentation() override { App().ClosePresentation(); }
  void Quit() override { App().Quit(); }
  void SetEventListener(platform::PresentationEvents* listener) override;

  std::optional<std::int64_t> NextDueMs() const override;
  bool Serve(std::int64_t now_ms) override;
  bool HasPendingWork() const override;
  bool AwaitsUserInput() const override;

 private:
  // The module's application; raises 424 before a successful Launch.
  QueuedPresentationApp& App();
  void RaiseCharacters();

  const platform::Clock& clock_;
  DesktopLoop& loop_;
  Maker maker_;
  std::unique_ptr<QueuedPresentationApp> app_;
  bool load_failed_ = false;
  platform::PresentationEvents* listener_ = nullptr;
};

}  // namespace rirerazo::desktop
