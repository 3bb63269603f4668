#include "core/ppt/power_point.h"

namespace rirerazo {
namespace {

constexpr const char* kTitle = "RIRERazo";
constexpr const char* kSeparator = "\r\n#";

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
    links_.ui->MessageBox("VORN Script not found.", kTitle,
                          platform::mb::kOkOnly | platform::mb::kExclamation);
    return;
  }
  platform::PresentationApp& app = *links_.app;
  platform::MessageLoop& loop = *links_.loop;
  retries_used_ = 0;  // one allowance for the whole start
  const std::vector<std::function<void()>> steps = {
      [&] { app.Launch(); },
      [&] { loop.DoEvents(); },
      [&] { app.Activate(); },
      [&] { app.OpenPresentation(psFile, false, false, true); },
      [&] { loop.DoEvents(); },
      [&] { app.SetVisible(true); },
      [&] { slide_count_ = app.SlideCount(); },
      [&] {
        if (*links_.repeat != 0) app.SetLoopUntilStopped(true);
      },
      [&] {
        if (*links_.auto_advance == 0)
          app.SetAdvanceMode(platform::SlideAdvanceMode::kUseSlideTimings);
      },
      [&] { loop.DoEvents(); },
      [&] { app.RunSlideShow(); },
  };
  for (const auto& step : steps) {
    if (!StartStep(step)) return;
  }
}

void CPowerPoint::AdvanceSlide() {
  SkipOnError([&] { links_.app->NextSlide(); });
}

void CPowerPoint::PowerPointSlideshowStop() {
  repeat_ = false;
  auto_advance_ = false;
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
  platform::PresentationApp& app = *links_.app;
  SkipOnError([&] { app.SetWindowState(platform::AppWindowState::kMinimized); });
  SkipOnError([&] { app.SetVisible(false); });
  SkipOnError([&] { app.CloseActiveWindow(); });
  SkipOnError([&] { app.ClosePresentation(); });
  SkipOnError([&] { app.SetVisible(false); });
  SkipOnError([&] { app.Quit(); });
  links_.unload_main_form();
}

void PowerPointEventSink::OnSlideShowBegin() {
  if (std::shared_ptr<CPowerPoint> driver = gPowerPoint_) driver->ppApp_SlideShowBegin();
}

void PowerPointEventSink::OnSlideShowNextSlide(std::int32_t slide_index) {
  if (std::shared_ptr<CPowerPoint> driver = gPowerPoint_) {
    driver->ppApp_SlideShowNextSlide(slide_index);
  }
}

void PowerPointEventSink::OnSlideShowEnd() {
  if (std::shared_ptr<CPowerPoint> driver = gPowerPoint_) driver->ppApp_SlideShowEnd();
}

}  // namespace rirerazo
