// The simulated presentation application in the headless message loop, on its own and
// driving the player's slide-show driver, as the headless host runs it.
#include "host/presentation/simulated_presentation.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/ppt/power_point.h"
#include "core/ppt/slide_pause.h"
#include "headless/event_loop.h"
#include "headless/virtual_clock.h"
#include "host/presentation_source.h"
#include "platform/runtime_error.h"
#include "support/presentation_fixtures.h"
#include "support/recording_services.h"
#include "support/scratch_folder.h"

namespace rirerazo::host {
namespace {

using testing::FixtureSlide;
using Log = std::vector<std::string>;

// Something the user does once, at a virtual time.
class UserAction final : public EventSource {
 public:
  UserAction(std::int64_t at_ms, std::function<void()> action)
      : at_ms_(at_ms), action_(std::move(action)) {}
  std::optional<std::int64_t> NextDueMs() const override {
    return done_ ? std::nullopt : std::optional<std::int64_t>(at_ms_);
  }
  bool Serve(std::int64_t now_ms) override {
    if (done_ || now_ms < at_ms_) return false;
    done_ = true;
    action_();
    return true;
  }
  bool HasPendingWork() const override { return !done_; }

 private:
  std::int64_t at_ms_;
  std::function<void()> action_;
  bool done_ = false;
};

class Recorder final : public platform::PresentationEvents {
 public:
  explicit Recorder(const platform::Clock& clock) : clock_(clock) {}
  void OnSlideShowBegin() override { Add("begin"); }
  void OnSlideShowNextSlide(std::int32_t slide) override { Add("slide " + std::to_string(slide)); }
  void OnSlideShowEnd() override { Add("end"); }
  Log log;

 private:
  void Add(const std::string& what) { log.push_back(std::to_string(clock_.NowMs()) + " " + what); }
  const platform::Clock& clock_;
};

class SimulatedApp : public ::testing::Test {
 protected:
  SimulatedApp() : app(clock), recorder(clock) {
    loop.AddSource(source);
    app.SetEventListener(&recorder);
  }
  std::string Deck(const std::vector<FixtureSlide>& slides, const std::string& name) {
    return dir.Write(name, name.ends_with(".odp") ? testing::OpenDocumentPresentation(slides)
                                                  : testing::OpenXmlPresentation(slides));
  }
  testing::ScratchFolder dir;
  headless::VirtualClock clock;
  headless::EventLoop loop{clock};
  SimulatedPresentationApp app;
  PresentationSource source{app};
  Recorder recorder;
};

TEST_F(SimulatedApp, TheHostLoopRunsAShowByItsSlideTimings) {
  for (const char* name : {"timed.pptx", "timed.odp"}) {
    recorder.log.clear();
    const std::int64_t start = clock.NowMs();
    auto at = [&](std::int64_t ms, const char* what) {
      return std::to_string(start + ms) + " " + what;
    };
    app.Launch();
    app.OpenPresentation(Deck({{2000}, {std::nullopt, true}, {std::nullopt}, {1500}}, name), false,
                         false, true);
    EXPECT_EQ(app.SlideCount(), 4);
    app.SetAdvanceMode(platform::SlideAdvanceMode::kUseSlideTimings);
    app.RunSlideShow();
    EXPECT_TRUE(recorder.log.empty());  // events wait for the message loop
    // The third slide has no timing: only someone advancing it carries the show on.
    EXPECT_EQ(loop.RunUntilDone(), headless::RunOutcome::kAwaitingUser) << name;
    clock.AdvanceBy(500);
    app.NextSlide();
    EXPECT_EQ(loop.RunUntilDone(), headless::RunOutcome::kNothingPending) << name;
    EXPECT_EQ(recorder.log, (Log{at(0, "begin"), at(0, "slide 1"), at(2000, "slide 3"),
                                 at(2500, "slide 4"), at(4000, "end")}))
        << name;
  }
}

TEST_F(SimulatedApp, WithoutTimingsTheShowMovesOnlyOnRequestAndLoopsWhenAsked) {
  app.Launch();
  app.OpenPresentation(Deck({{1000}, {1000}}, "deck.pptx"), false, false, true);
  app.SetLoopUntilStopped(true);
  app.RunSlideShow();
  EXPECT_EQ(loop.RunUntilDone(), headless::RunOutcome::kAwaitingUser);
  for (int i = 0; i < 3; ++i) {
    app.NextSlide();
    loop.DoEvents();
  }
  app.StopShowByUser();
  loop.DoEvents();
  EXPECT_EQ(recorder.log,
            (Log{"0 begin", "0 slide 1", "0 slide 2", "0 slide 1", "0 slide 2", "0 end"}));
  EXPECT_THROW(app.NextSlide(), RuntimeError);  // no show running any more
}

TEST_F(SimulatedApp, FailsLikeTheApplicationOnMissingObjectsAndUnreadableFiles) {
  auto number_of = [](auto call) -> long {
    try {
      call();
    } catch (const RuntimeError& error) {
      return error.Number();
    }
    return 0;
  };
  EXPECT_EQ(number_of([&] { app.Activate(); }), err::kObjectRequired);
  app.Launch();
  EXPECT_EQ(number_of([&] { app.SlideCount(); }), err::kObjectRequired);
  EXPECT_EQ(number_of([&] { app.RunSlideShow(); }), err::kObjectRequired);
  const std::string broken = dir.Write("broken.pptx", "PK\x03\x04 not really");
  EXPECT_EQ(number_of([&] { app.OpenPresentation(broken, false, false, true); }),
            kPresentationOpenError);
  EXPECT_EQ(number_of([&] { app.OpenPresentation(dir / "none.odp", 0, 0, 1); }),
            kPresentationOpenError);
  app.FailNextCalls(2, platform::kPresentationErrBusy, "busy");
  EXPECT_EQ(number_of([&] { app.Launch(); }), platform::kPresentationErrBusy);
  EXPECT_EQ(number_of([&] { app.Activate(); }), platform::kPresentationErrBusy);
  EXPECT_EQ(number_of([&] { app.Activate(); }), 0);
}

// The player's side: the driver with its slide scripts, as the player wires it.
class HeadlessSlideShow : public SimulatedApp {
 protected:
  HeadlessSlideShow() : sink(driver) {
    app.SetEventListener(&sink);
    links.app = &app;
    links.ui = &ui;
    links.loop = &loop;
    links.play_slide_script = [this](const std::string& script) {
      played.push_back(std::to_string(clock.NowMs()) + " " + script);
      // The last line of a slide's script is reached after 1.5 s; with auto-advance on,
      // its bookmark then waits the pause and advances.
      loop.Sleep(1500);
      if (auto_advance != 0) {
        WaitSlidePauseAndAdvance(clock, loop, pause_s, driver);
      }
    };
    links.char_stop_all = [] {};
    links.report_error = [this](const RuntimeError& error, const std::string& procedure) {
      played.push_back("error " + procedure + " " + std::to_string(error.Number()));
    };
    links.unload_main_form = [this] {
      played.push_back(std::to_string(clock.NowMs()) + " unload");
      loop.Quit();
    };
    links.busy = &busy;
    links.repeat = &repeat;
    links.auto_advance = &auto_advance;
  }
  void Play(const std::string& deck) {
    driver = std::make_shared<CPowerPoint>(links);
    driver->PowerPointSlideshow(deck, "one\r\n#two\r\n#three\r\n");
    loop.RunUntilDone();
  }

  testing::RecordingUi ui;
  SlideShowLinks links;
  std::shared_ptr<CPowerPoint> driver;
  PowerPointEventSink sink;
  bool busy = true;
  std::int32_t repeat = 0;
  std::int32_t auto_advance = 1;
  std::int32_t pause_s = 2;
  Log played;
};

TEST_F(HeadlessSlideShow, AutoAdvancePlaysEachPieceAfterThePauseAndEndsWithTheShow) {
  Play(Deck({{std::nullopt}, {std::nullopt}, {std::nullopt}}, "three.pptx"));
  // Each piece: 1.5 s of speech, then a pause of two whole-second ticks (1.5 s here).
  EXPECT_EQ(played, (Log{"0 one", "3000 two", "6000 three\r\n", "9000 unload"}));
  EXPECT_FALSE(app.Running());
  EXPECT_FALSE(busy);
}

TEST_F(HeadlessSlideShow, WithAutoAdvanceOffTheSlideTimingsMoveTheShow) {
  auto_advance = 0;
  Play(Deck({{4000}, {5000}, {6000}, {1000}}, "timed.odp"));
  EXPECT_EQ(played, (Log{"0 one", "4000 two", "9000 three\r\n", "16000 unload"}));
}

TEST_F(HeadlessSlideShow, RepeatStartsTheShowAgainUntilTheUserStopsIt) {
  repeat = 1;
  pause_s = 0;
  UserAction stop(11000, [this] { app.StopShowByUser(); });
  loop.AddSource(stop);
  Play(Deck({{}, {}, {}}, "loop.pptx"));
  // The stop arrives while the bookmark after the seventh piece waits; the show ends there.
  EXPECT_EQ(played, (Log{"0 one", "1600 two", "3200 three\r\n", "4800 one", "6400 two",
                         "8000 three\r\n", "9600 one", "11100 unload"}));
}

TEST_F(HeadlessSlideShow, BusyApplicationAtStartIsWaitedFor) {
  app.FailNextCalls(9, platform::kPresentationErrBusy, "busy");
  Play(Deck({{}, {}, {}}, "slow.pptx"));
  EXPECT_EQ(played.front(), "900 one");  // nine sleeps of 100 ms before the show
  EXPECT_EQ(played.back(), "10000 unload");
}

TEST_F(HeadlessSlideShow, UnreadablePresentationIsReportedAndNothingPlays) {
  Play(dir.Write("broken.odp", "not a presentation"));
  EXPECT_EQ(played, (Log{"error PowerPointSlideshow " + std::to_string(kPresentationOpenError)}));
}

}  // namespace
}  // namespace rirerazo::host
