// The presentation application that runs slide shows for the player: it opens a
// presentation, reports its slide count, runs it as a show (looping when asked, advancing
// by its own slide timings when asked), advances one slide on request, and raises an event
// for every slide shown (the first included) and when the show ends.
//
// Calls happen on the player's thread; events are delivered only from inside
// MessageLoop::DoEvents/Sleep and may call back into the player (a slide's script runs
// inside the next-slide event). Failures raise rirerazo::RuntimeError; an application that
// is still starting up answers with kErrBusy, which the caller may retry.
#pragma once

#include <cstdint>
#include <string>

namespace rirerazo::platform {

// The application is starting or busy and cannot take the call yet (0x80048240).
inline constexpr long kPresentationErrBusy = -2147188160L;

enum class AppWindowState { kNormal = 1, kMinimized = 2, kMaximized = 3 };

enum class SlideAdvanceMode {
  kManual = 1,           // only on request (NextSlide) or by the user
  kUseSlideTimings = 2,  // after each slide's own advance time, where it has one
};

// Receives the application's events. The player implements it.
class PresentationEvents {
 public:
  virtual ~PresentationEvents() = default;
  virtual void OnSlideShowBegin() = 0;
  // `slide_index` is the 1-based index of the slide now shown.
  virtual void OnSlideShowNextSlide(std::int32_t slide_index) = 0;
  virtual void OnSlideShowEnd() = 0;
};

class PresentationApp {
 public:
  virtual ~PresentationApp() = default;

  // Starts the application (or attaches to the running one).
  virtual void Launch() = 0;
  virtual void Activate() = 0;
  virtual void SetVisible(bool visible) = 0;
  virtual void SetWindowState(AppWindowState state) = 0;

  // Opens the presentation at `path`; it becomes the active presentation. Raises an error
  // when the file is missing or cannot be read as a presentation.
  virtual void OpenPresentation(const std::string& path, bool read_only, bool untitled,
                                bool with_window) = 0;
  // Number of slides of the active presentation.
  virtual std::int32_t SlideCount() = 0;

  // Settings of the active presentation's show, read when the show starts.
  virtual void SetLoopUntilStopped(bool loop) = 0;
  virtual void SetAdvanceMode(SlideAdvanceMode mode) = 0;
  // Starts the show of the active presentation.
  virtual void RunSlideShow() = 0;
  // Moves the running show on by one slide; past the last slide the show ends (or starts
  // again when it loops).
  virtual void NextSlide() = 0;

  // Closing down: the application's active window, the active presentation, the
  // application itself.
  virtual void CloseActiveWindow() = 0;
  virtual void ClosePresentation() = 0;
  virtual void Quit() = 0;

  // The listener for the events; may be null. Not owned.
  virtual void SetEventListener(PresentationEvents* listener) = 0;
};

}  // namespace rirerazo::platform
