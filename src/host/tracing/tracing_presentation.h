// A presentation application that records every call the player makes (with the error
// that refused it, if any) and every event of the show, then passes them on unchanged.
#pragma once

#include <functional>

#include "host/trace.h"
#include "platform/presentation_app.h"

namespace rirerazo::host {

class TracingPresentationApp final : public platform::PresentationApp,
                                     private platform::PresentationEvents {
 public:
  // Neither reference is owned.
  TracingPresentationApp(platform::PresentationApp& inner, Tracer& tracer)
      : inner_(inner), tracer_(tracer) {}

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
  void SetEventListener(platform::PresentationEvents* listener) override;

 private:
  void OnSlideShowBegin() override;
  void OnSlideShowNextSlide(std::int32_t slide_index) override;
  void OnSlideShowEnd() override;

  // Runs `call` on the application and records `op` with `fields`, adding the error when
  // the call raised one (which then goes on to the player).
  void Recorded(const std::string& op, std::vector<TraceField> fields,
                const std::function<void()>& call);

  platform::PresentationApp& inner_;
  Tracer& tracer_;
  platform::PresentationEvents* listener_ = nullptr;
};

}  // namespace rirerazo::host
