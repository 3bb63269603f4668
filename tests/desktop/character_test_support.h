// Shared pieces of the character window tests: a settable clock, a recording audio output,
// a listener for the runtime's events, a plain-coloured backdrop to photograph windows
// against, and a fixture with Rira loaded into a runtime and a stage.
#pragma once

#include <gtest/gtest.h>

#include <QColor>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QScreen>
#include <QWidget>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "desktop/audio/audio_output.h"
#include "desktop/character/character_stage.h"
#include "desktop/character/character_window.h"
#include "platform/clock.h"
#include "runtime/acs/acs_file.h"
#include "runtime/character_runtime.h"
#include "runtime/rate_model.h"
#include "support/qt_desktop.h"

namespace rirerazo::desktop::testing {

inline const std::string kRiraPath = std::string(RIRERAZO_BINARY_DIR) + "/src/Rira.acs";
inline const std::string kSharedCharacters = std::string(RIRERAZO_SHARED_DIR) + "/characters";

class SettableClock : public platform::Clock {
 public:
  std::int64_t NowMs() const override { return now_ms; }
  platform::LocalDateTime LocalNow() const override { return {}; }
  std::int64_t now_ms = 0;
};

class RecordingAudio : public AudioOutput {
 public:
  struct Played {
    std::size_t samples = 0;
    int sample_rate_hz = 0;
  };
  std::unique_ptr<AudioStream> Play(std::vector<std::int16_t> samples, PcmFormat format,
                                    float) override {
    played.push_back({samples.size(), format.sample_rate_hz});
    return std::make_unique<Stream>();
  }
  bool Audible() const override { return false; }
  std::vector<Played> played;

 private:
  struct Stream : AudioStream {
    std::int64_t PlayedMs() const override { return 0; }
    std::int64_t DurationMs() const override { return 0; }
    bool Finished() const override { return true; }
    void Stop() override {}
  };
};

class RecordingEvents : public platform::AgentEvents {
 public:
  void OnBookmark(std::int32_t) override {}
  void OnRequestComplete(platform::AgentRequest) override {}
  void OnCommand(const platform::UserInput& input) override { commands.push_back(input); }
  void OnShow(const std::string&, platform::VisibilityCause) override {}
  void OnHide(const std::string& id, platform::VisibilityCause) override { hidden.push_back(id); }
  void OnClick(const std::string& id, int, int) override { clicks.push_back(id); }
  void OnDragComplete(const std::string&, int x_px, int y_px) override {
    drops.push_back({x_px, y_px});
  }
  std::vector<platform::UserInput> commands;
  std::vector<std::string> hidden;
  std::vector<std::string> clicks;
  std::vector<std::pair<int, int>> drops;
};

// Processes window events until `done` holds or `deadline_ms` of real time have passed.
inline bool PumpUntil(const std::function<bool()>& done, int deadline_ms = 3000) {
  QElapsedTimer timer;
  timer.start();
  while (!done()) {
    if (timer.elapsed() > deadline_ms) return false;
    QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
  }
  return true;
}

inline QImage GrabScreen() {
  return QGuiApplication::primaryScreen()->grabWindow(0).toImage().convertToFormat(
      QImage::Format_RGB32);
}

inline const QColor kBackdropColour(40, 200, 90);

// A full-screen window of one colour under everything else, so what shows around a
// character is known.
inline std::unique_ptr<QWidget> MakeBackdrop() {
  auto backdrop =
      std::make_unique<QWidget>(nullptr, Qt::FramelessWindowHint | Qt::X11BypassWindowManagerHint);
  backdrop->setAutoFillBackground(true);
  QPalette palette = backdrop->palette();
  palette.setColor(QPalette::Window, kBackdropColour);
  backdrop->setPalette(palette);
  backdrop->setGeometry(QGuiApplication::primaryScreen()->geometry());
  backdrop->show();
  PumpUntil([&] { return GrabScreen().pixelColor(5, 5) == kBackdropColour; });
  return backdrop;
}

// Rira in a runtime on a settable clock, with a stage drawing it.
class StageFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    RIRERAZO_REQUIRE_DESKTOP();
    if (!std::filesystem::exists(kRiraPath)) GTEST_SKIP() << "Rira.acs is not built";
    runtime_.SetFileLoader([](const std::string& path) {
      return std::make_shared<const acs::Character>(acs::ReadCharacterFile(path));
    });
    runtime_.SetObserver(&stage_);
    runtime_.SetEventListener(&events_);
  }
  void TearDown() override {
    for (const std::string& id : runtime_.CharacterIds()) runtime_.Unload(id);
    stage_.Sync();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  }
  platform::AgentCharacter& Load(const std::string& id, const std::string& path = kRiraPath) {
    runtime_.Load(id, path);
    return runtime_.Character(id);
  }
  // Moves time on in steps, syncing the stage after each like the host's loop.
  void RunFor(std::int64_t duration_ms, std::int64_t step_ms = 20) {
    const std::int64_t end_ms = clock_.now_ms + duration_ms;
    while (clock_.now_ms < end_ms) {
      clock_.now_ms = std::min(end_ms, clock_.now_ms + step_ms);
      runtime_.Advance(clock_.now_ms);
      stage_.Sync();
    }
    runtime_.DeliverEvents();
  }
  // Until the character's queue is empty (bounded).
  void RunUntilIdle(std::int64_t limit_ms = 20000) {
    std::int64_t spent = 0;
    while (runtime_.HasPendingWork() && spent < limit_ms) {
      RunFor(20);
      spent += 20;
    }
  }

  SettableClock clock_;
  runtime::RateModelEngine engine_;
  runtime::RuntimeOptions options_ = [] {
    runtime::RuntimeOptions options;
    options.idle_enabled = false;
    return options;
  }();
  runtime::CharacterRuntime runtime_{clock_, engine_, options_};
  RecordingAudio audio_;
  RecordingEvents events_;
  CharacterStage stage_{runtime_, audio_};
};

}  // namespace rirerazo::desktop::testing
