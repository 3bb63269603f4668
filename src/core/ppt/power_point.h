// The slide-show driver: runs a presentation as a show in the presentation application and
// plays one piece of the top-level script for each slide shown. The script is split at
// every line that starts with "#": slide k plays piece k-1. With auto-advance on, every
// piece ends with the speech of bookmark 333333333, whose handler waits the pause and
// calls AdvanceSlide; with it off the application advances by the slides' own timings.
// The show's end ends the player.
//
// The application's events reach a CPowerPoint through a PowerPointEventSink, which keeps
// the current driver alive while its handler runs (a slide's script may start another
// presentation and so replace the driver). Everything runs on the player's thread.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/message_loop.h"
#include "platform/presentation_app.h"
#include "platform/runtime_error.h"
#include "platform/ui.h"

namespace rirerazo {

// The start sequence retries a busy application this often, sleeping between tries.
inline constexpr int kSlideShowStartRetries = 9;
inline constexpr std::int64_t kSlideShowRetrySleepMs = 100;

// What the driver needs from the player. Every member must be set and outlive the driver,
// except `app`: without an application the start fails as creating it would.
struct SlideShowLinks {
  platform::PresentationApp* app = nullptr;
  platform::Ui* ui = nullptr;
  platform::MessageLoop* loop = nullptr;
  // PlayScript(script, ScriptLevel::kNested).
  std::function<void(const std::string&)> play_slide_script;
  std::function<void()> char_stop_all;  // CharStopAll
  // ReportError("CPowerPoint", procedure) for the error being handled.
  std::function<void(const RuntimeError&, const std::string& procedure)> report_error;
  std::function<void()> unload_main_form;
  bool* busy = nullptr;                        // SlideShow::busy of the Player
  const std::int32_t* repeat = nullptr;        // SlideShow::repeat
  const std::int32_t* auto_advance = nullptr;  // SlideShow::auto_advance
};

// Splits a script at every CR LF followed by "#", removing the CR LF and the "#": piece 0
// is the text before the first such line, and the rest of each "#" line begins the next
// piece. A first line that itself begins with "#" belongs to piece 0.
std::vector<std::string> SplitSlideScripts(const std::string& script);

class CPowerPoint {
 public:
  explicit CPowerPoint(SlideShowLinks links) : links_(std::move(links)) {}

  // Splits `psScript` into the slide pieces, opens `psFile` and runs it as a show. An empty
  // first piece shows "VORN Script not found." and starts nothing. A busy application is
  // retried; any other failure is reported and ends the start.
  void PowerPointSlideshow(const std::string& psFile, const std::string& psScript);
  // Moves the running show to the next slide; failures are ignored.
  void AdvanceSlide();

  // Handlers of the application's events.
  void ppApp_SlideShowBegin() {}
  void ppApp_SlideShowNextSlide(std::int32_t slide_index);
  void ppApp_SlideShowEnd();

 private:
  // The application; raises error 429 when the host has none.
  platform::PresentationApp& App() const;
  // Runs one step of the start sequence, retrying while the application is busy and
  // retries are left. False after a reported failure.
  bool StartStep(const std::function<void()>& step);

  SlideShowLinks links_;
  std::vector<std::string> slide_scripts_;
  std::int32_t slide_count_ = 0;
  std::int32_t current_slide_ = 0;
  int retries_used_ = 0;
};

// Hands the application's events to the driver held in `driver_slot` at the time of the
// event. Register it with the application once; the slot must outlive the sink.
class PowerPointEventSink final : public platform::PresentationEvents {
 public:
  explicit PowerPointEventSink(const std::shared_ptr<CPowerPoint>& driver_slot)
      : driver_slot_(driver_slot) {}
  void OnSlideShowBegin() override;
  void OnSlideShowNextSlide(std::int32_t slide_index) override;
  void OnSlideShowEnd() override;

 private:
  const std::shared_ptr<CPowerPoint>& driver_slot_;
};

}  // namespace rirerazo
