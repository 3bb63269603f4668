#include "core/ppt/power_point.h"

#include "core/app/player.h"

namespace rirerazo {
namespace {

constexpr const char* kSeparator = "\r\n#";
// What creating an application that is not there raises.
constexpr long kCannotCreateObject = 429;

// Runs `step` and swallows any failure: closing down goes on step by step.
void SkipOnError(const std::function<void()>& step) {
  try {
    step();
  } catch (const RuntimeError&) {
  }
}

}  // namespace

std::vector<std::string> SplitSlideScripts(const std::string& script) {
  std::vector<std::string> pieces;
  std::size_t start = 0;
  for (std::size_t at; (at = script.find(kSeparator, start)) != std::string::npos;) {
    pieces.push_back(script.substr(start, at - start));
    start = at + 3;
  }
  pieces.push_back(script.substr(start));
  return pieces;
}

bool CPowerPoint::StartStep(const std::function<void()>& step) {
  for (;;) {
    try {
      step();
      return true;
    } catch (const RuntimeError& error) {
      if (error.Number() == platform::kPresentationErrBusy &&
          retries_used_ < kSlideShowStartRetries) {
        ++retries_used_;
        links_.loop->Sleep(kSlideShowRetrySleepMs);
        continue;
      }
      links_.report_error(error, "PowerPointSlideshow");
      return false;
    }
  }
}

void CPowerPoint::PowerPointSlideshow(const std::string& psFile, const std::string& psScript) {
  slide_scripts_ = SplitSlideScripts(psScript);
  if (slide_scripts_.front().empty()) {
    links_.ui->MessageBox("VORN Script not found.", kDefaultTitle,
                          platform::mb::kOkOnly | platform::mb::kExclamation);
    return;
  }
  platform::MessageLoop& loop = *links_.loop;
  retries_used_ = 0;  // one allowance for the whole start
  const std::vector<std::function<void()>> steps = {
      [&] { App().Launch(); },
      [&] { loop.DoEvents(); },
      [&] { App().Activate(); },
      [&] { App().OpenPresentation(psFile, false, false, true); },
      [&] { loop.DoEvents(); },
      [&] { App().SetVisible(true); },
      [&] { slide_count_ = App().SlideCount(); },
      [&] {
        if (*links_.repeat != 0) App().SetLoopUntilStopped(true);
      },
      [&] {
        if (*links_.auto_advance == 0)
          App().SetAdvanceMode(platform::SlideAdvanceMode::kUseSlideTimings);
      },
      [&] { loop.DoEvents(); },
      [&] { App().RunSlideShow(); },
  };
  for (const auto& step : steps) {
    if (!StartStep(step)) return;
  }
}

platform::PresentationApp& CPowerPoint::App() const {
  if (links_.app == nullptr) {
    throw RuntimeError(kCannotCreateObject, "Cannot create the presentation application");
  }
  return *links_.app;
}

void CPowerPoint::AdvanceSlide() {
  SkipOnError([&] { App().NextSlide(); });
}

void CPowerPoint::ppApp_SlideShowNextSlide(std::int32_t slide_index) {
  try {
    current_slide_ = slide_index;
    // The characters drop whatever they were still doing for the previous slide.
    links_.char_stop_all();
    std::int64_t piece = static_cast<std::int64_t>(current_slide_) - 1;
    if (piece >= 0 && piece < static_cast<std::int64_t>(slide_scripts_.size())) {
      // While set, a completed script does not end the player.
      *links_.busy = true;
      links_.play_slide_script(slide_scripts_[static_cast<std::size_t>(piece)]);
      *links_.busy = false;
    }
  } catch (const RuntimeError& error) {
    links_.report_error(error, "SlideShowNextSlide");
  }
}

void CPowerPoint::ppApp_SlideShowEnd() {
  SkipOnError([&] { App().SetWindowState(platform::AppWindowState::kMinimized); });
  SkipOnError([&] { App().SetVisible(false); });
  SkipOnError([&] { App().CloseActiveWindow(); });
  SkipOnError([&] { App().ClosePresentation(); });
  SkipOnError([&] { App().SetVisible(false); });
  SkipOnError([&] { App().Quit(); });
  links_.unload_main_form();
}

void PowerPointEventSink::OnSlideShowBegin() {
  if (std::shared_ptr<CPowerPoint> driver = driver_slot_) driver->ppApp_SlideShowBegin();
}

void PowerPointEventSink::OnSlideShowNextSlide(std::int32_t slide_index) {
  if (std::shared_ptr<CPowerPoint> driver = driver_slot_) {
    driver->ppApp_SlideShowNextSlide(slide_index);
  }
}

void PowerPointEventSink::OnSlideShowEnd() {
  if (std::shared_ptr<CPowerPoint> driver = driver_slot_) driver->ppApp_SlideShowEnd();
}

}  // namespace rirerazo
