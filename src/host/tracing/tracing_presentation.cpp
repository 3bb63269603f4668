#include "host/tracing/tracing_presentation.h"

#include "platform/runtime_error.h"

namespace rirerazo::host {

void TracingPresentationApp::Recorded(const std::string& op, std::vector<TraceField> fields,
                                      const std::function<void()>& call) {
  fields.insert(fields.begin(), {"op", op});
  try {
    call();
  } catch (const RuntimeError& error) {
    fields.push_back({"error", std::int64_t{error.Number()}});
    fields.push_back({"description", error.Description()});
    tracer_.Record("presentation", std::move(fields));
    throw;
  }
  tracer_.Record("presentation", std::move(fields));
}

void TracingPresentationApp::Launch() {
  Recorded("Launch", {}, [this] { inner_.Launch(); });
}

void TracingPresentationApp::Activate() {
  Recorded("Activate", {}, [this] { inner_.Activate(); });
}

void TracingPresentationApp::SetVisible(bool visible) {
  Recorded("Visible", {{"value", visible}}, [&] { inner_.SetVisible(visible); });
}

void TracingPresentationApp::SetWindowState(platform::AppWindowState state) {
  Recorded("WindowState", {{"value", std::int64_t{static_cast<int>(state)}}},
           [&] { inner_.SetWindowState(state); });
}

void TracingPresentationApp::OpenPresentation(const std::string& path, bool read_only,
                                              bool untitled, bool with_window) {
  Recorded("Open",
           {{"path", path}, {"read_only", read_only}, {"untitled", untitled},
            {"with_window", with_window}},
           [&] { inner_.OpenPresentation(path, read_only, untitled, with_window); });
}

std::int32_t TracingPresentationApp::SlideCount() {
  std::int32_t count = 0;
  try {
    count = inner_.SlideCount();
  } catch (const RuntimeError& error) {
    tracer_.Record("presentation", {{"op", "SlideCount"},
                                    {"error", std::int64_t{error.Number()}},
                                    {"description", error.Description()}});
    throw;
  }
  tracer_.Record("presentation", {{"op", "SlideCount"}, {"value", std::int64_t{count}}});
  return count;
}

void TracingPresentationApp::SetLoopUntilStopped(bool loop) {
  Recorded("LoopUntilStopped", {{"value", loop}}, [&] { inner_.SetLoopUntilStopped(loop); });
}

void TracingPresentationApp::SetAdvanceMode(platform::SlideAdvanceMode mode) {
  Recorded("AdvanceMode",
           {{"value", mode == platform::SlideAdvanceMode::kUseSlideTimings ? "timings" : "manual"}},
           [&] { inner_.SetAdvanceMode(mode); });
}

void TracingPresentationApp::RunSlideShow() {
  Recorded("Run", {}, [this] { inner_.RunSlideShow(); });
}

void TracingPresentationApp::NextSlide() {
  Recorded("Next", {}, [this] { inner_.NextSlide(); });
}

void TracingPresentationApp::CloseActiveWindow() {
  Recorded("CloseWindow", {}, [this] { inner_.CloseActiveWindow(); });
}

void TracingPresentationApp::ClosePresentation() {
  Recorded("Close", {}, [this] { inner_.ClosePresentation(); });
}

void TracingPresentationApp::Quit() {
  Recorded("Quit", {}, [this] { inner_.Quit(); });
}

void TracingPresentationApp::SetEventListener(platform::PresentationEvents* listener) {
  listener_ = listener;
  inner_.SetEventListener(listener != nullptr ? this : nullptr);
}

void TracingPresentationApp::OnSlideShowBegin() {
  tracer_.Record("presentation", {{"op", "ShowBegins"}});
  if (listener_ != nullptr) listener_->OnSlideShowBegin();
}

void TracingPresentationApp::OnSlideShowNextSlide(std::int32_t slide_index) {
  tracer_.Record("presentation", {{"op", "SlideShown"}, {"slide", std::int64_t{slide_index}}});
  if (listener_ != nullptr) listener_->OnSlideShowNextSlide(slide_index);
}

void TracingPresentationApp::OnSlideShowEnd() {
  tracer_.Record("presentation", {{"op", "ShowEnds"}});
  if (listener_ != nullptr) listener_->OnSlideShowEnd();
}

}  // namespace rirerazo::host
