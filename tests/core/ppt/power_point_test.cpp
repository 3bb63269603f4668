#include "core/ppt/power_point.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "support/recording_services.h"

namespace rirerazo {
namespace {

using Calls = std::vector<std::string>;

// Records every call in one log shared with the player's side. A call named in `busy`
// answers "busy" as many times as given there; `failing_step` always fails.
class FakeApp final : public platform::PresentationApp {
 public:
  explicit FakeApp(Calls& log) : log_(log) {}
  std::map<std::string, int> busy;
  std::string failing_step;

  void Launch() override { Call("Launch"); }
  void Activate() override { Call("Activate"); }
  void SetVisible(bool visible) override { Call(visible ? "Visible" : "Hidden"); }
  void SetWindowState(platform::AppWindowState state) override {
    Call("WindowState " + std::to_string(static_cast<int>(state)));
  }
  void OpenPresentation(const std::string& path, bool read_only, bool untitled,
                        bool with_window) override {
    Call("Open " + path + " " + std::to_string(read_only) + std::to_string(untitled) +
         std::to_string(with_window));
  }
  std::int32_t SlideCount() override { return Call("SlideCount"), 3; }
  void SetLoopUntilStopped(bool loop) override { Call("Loop " + std::to_string(loop)); }
  void SetAdvanceMode(platform::SlideAdvanceMode mode) override {
    Call("AdvanceMode " + std::to_string(static_cast<int>(mode)));
  }
  void RunSlideShow() override { Call("Run"); }
  void NextSlide() override { Call("Next"); }
  void CloseActiveWindow() override { Call("CloseWindow"); }
  void ClosePresentation() override { Call("ClosePresentation"); }
  void Quit() override { Call("Quit"); }
  void SetEventListener(platform::PresentationEvents*) override {}

 private:
  void Call(const std::string& name) {
    std::string step = name.substr(0, name.find(' '));
    if (busy[step] > 0) {
      --busy[step];
      log_.push_back(name + " busy");
      throw RuntimeError(platform::kPresentationErrBusy, "busy");
    }
    log_.push_back(name);
    if (step == failing_step) throw RuntimeError(-2147467259, "cannot");
  }
  Calls& log_;
};

// The player's side of the driver: every call lands in the same log as the app's.
class SlideShowTest : public ::testing::Test {
 protected:
  SlideShowTest() : app(log) {
    links.app = &app;
    links.ui = &ui;
    links.loop = &loop;
    links.play_slide_script = [this](const std::string& script) {
      log.push_back("PlayScript " + script + (busy ? " (busy)" : ""));
      if (script == "fail") throw RuntimeError(91, "Object variable not set");
    };
    links.char_stop_all = [this] { log.push_back("CharStopAll"); };
    links.report_error = [this](const RuntimeError& error, const std::string& procedure) {
      log.push_back("ReportError " + procedure + " " + std::to_string(error.Number()));
    };
    links.unload_main_form = [this] { log.push_back("Unload"); };
    links.busy = &busy;
    links.repeat = &repeat;
    links.auto_advance = &auto_advance;
  }
  std::shared_ptr<CPowerPoint> Start(const std::string& script) {
    auto driver = std::make_shared<CPowerPoint>(links);
    driver->PowerPointSlideshow("/shows/deck.pptx", script);
    return driver;
  }
  // The start sequence after Launch, without the loop's yields.
  Calls StartCalls(const Calls& settings) {
    Calls calls = {"Launch", "Activate", "Open /shows/deck.pptx 001", "Visible", "SlideCount"};
    calls.insert(calls.end(), settings.begin(), settings.end());
    calls.push_back("Run");
    return calls;
  }

  Calls log;
  FakeApp app;
  testing::RecordingUi ui;
  testing::VirtualLoop loop;
  SlideShowLinks links;
  bool busy = false;
  std::int32_t repeat = 0;
  std::int32_t auto_advance = 1;
};

constexpr const char* kThreeSlides = "Host.Speak one\r\n#2\r\nHost.Speak two\r\n#\r\nthree\r\n";

TEST(SplitSlideScripts, EveryLineStartingWithHashBeginsTheNextPiece) {
  EXPECT_EQ(SplitSlideScripts(kThreeSlides),
            (Calls{"Host.Speak one", "2\r\nHost.Speak two", "\r\nthree\r\n"}));
  EXPECT_EQ(SplitSlideScripts("#first\r\nA\r\n#second"), (Calls{"#first\r\nA", "second"}));
  EXPECT_EQ(SplitSlideScripts("\r\n#x\r\n"), (Calls{"", "x\r\n"}));
  EXPECT_EQ(SplitSlideScripts("A\n#B\r#C\r\n #D"), (Calls{"A\n#B\r#C\r\n #D"}));
  EXPECT_EQ(SplitSlideScripts("A\r\n#\r\n#"), (Calls{"A", "", ""}));
}

TEST_F(SlideShowTest, StartSequenceFollowsTheRepeatAndAdvanceSettings) {
  struct Case {
    std::int32_t repeat, auto_advance;
    Calls settings;
  };
  for (const Case& c : {Case{0, 1, {}}, Case{1, 1, {"Loop 1"}}, Case{0, 0, {"AdvanceMode 2"}},
                        Case{5, 0, {"Loop 1", "AdvanceMode 2"}}}) {
    log.clear();
    repeat = c.repeat;
    auto_advance = c.auto_advance;
    auto driver = Start(kThreeSlides);
    EXPECT_EQ(log, StartCalls(c.settings));
    EXPECT_EQ(driver->SlideCount(), 3);
  }
  EXPECT_EQ(loop.do_events_calls, 4 * 3);  // after Launch, after Open, before Run
  EXPECT_TRUE(loop.sleeps.empty());
}

TEST_F(SlideShowTest, EmptyFirstPieceStartsNothing) {
  Start("\r\n#Host.Speak two\r\n");
  EXPECT_TRUE(log.empty());
  ASSERT_EQ(ui.boxes.size(), 1u);
  EXPECT_EQ(ui.boxes[0].text, "VORN Script not found.");
  EXPECT_EQ(ui.boxes[0].style, platform::mb::kOkOnly | platform::mb::kExclamation);
}

TEST_F(SlideShowTest, BusyApplicationIsRetriedNineTimesInAllAcrossTheSteps) {
  for (int start = 0; start < 2; ++start) {  // each start has its own nine retries
    log.clear();
    app.busy = {{"Launch", 4}, {"Open", 3}, {"Run", 2}};
    Start(kThreeSlides);
    EXPECT_EQ(log.back(), "Run");
    EXPECT_EQ(std::count(log.begin(), log.end(), "Open /shows/deck.pptx 001 busy"), 3);
  }
  EXPECT_EQ(loop.sleeps, std::vector<std::int64_t>(18, 100));
}

TEST_F(SlideShowTest, TenthBusyAnswerOrAnyOtherErrorEndsTheStartWithAReport) {
  app.busy = {{"Launch", 5}, {"SlideCount", 5}};
  Start(kThreeSlides);
  EXPECT_EQ(log.back(), "ReportError PowerPointSlideshow -2147188160");
  EXPECT_EQ(loop.sleeps.size(), 9u);
  log.clear();
  loop.sleeps.clear();
  app.failing_step = "Activate";
  Start(kThreeSlides);
  EXPECT_EQ(log, (Calls{"Launch", "Activate", "ReportError PowerPointSlideshow -2147467259"}));
  EXPECT_TRUE(loop.sleeps.empty());
}

TEST_F(SlideShowTest, EachSlideStopsTheCharactersAndPlaysItsPieceWhileBusy) {
  auto driver = Start(kThreeSlides);
  log.clear();
  for (int slide : {1, 2, 3, 4, 0}) driver->ppApp_SlideShowNextSlide(slide);
  EXPECT_EQ(log, (Calls{"CharStopAll", "PlayScript Host.Speak one (busy)", "CharStopAll",
                        "PlayScript 2\r\nHost.Speak two (busy)", "CharStopAll",
                        "PlayScript \r\nthree\r\n (busy)", "CharStopAll", "CharStopAll"}));
  EXPECT_FALSE(busy);
  EXPECT_EQ(driver->GetCurrentSlideIndex(), 0);
}

TEST_F(SlideShowTest, FailingSlideIsReportedAndLeavesTheShowBusy) {
  auto driver = Start("fail\r\n#B");
  log.clear();
  driver->ppApp_SlideShowNextSlide(1);
  EXPECT_EQ(log,
            (Calls{"CharStopAll", "PlayScript fail (busy)", "ReportError SlideShowNextSlide 91"}));
  EXPECT_TRUE(busy);
}

TEST_F(SlideShowTest, EndOfShowClosesTheApplicationStepByStepAndEndsThePlayer) {
  auto driver = Start(kThreeSlides);
  log.clear();
  app.failing_step = "CloseWindow";
  driver->ppApp_SlideShowEnd();
  EXPECT_EQ(log, (Calls{"WindowState 2", "Hidden", "CloseWindow", "ClosePresentation", "Hidden",
                        "Quit", "Unload"}));
  log.clear();
  app.failing_step = "Next";
  driver->AdvanceSlide();  // failure ignored
  EXPECT_EQ(log, Calls{"Next"});
}

TEST_F(SlideShowTest, EventSinkKeepsTheDriverAliveWhileASlideReplacesIt) {
  std::shared_ptr<CPowerPoint> driver;
  PowerPointEventSink sink(driver);
  sink.OnSlideShowNextSlide(1);  // no driver yet: nothing happens
  links.play_slide_script = [&](const std::string& script) {
    driver = std::make_shared<CPowerPoint>(links);  // the slide starts another show
    log.push_back("played " + script);
  };
  driver = Start("A\r\n#B");
  log.clear();
  sink.OnSlideShowNextSlide(1);  // the driver is replaced inside its own handler
  sink.OnSlideShowNextSlide(2);  // the new driver has no pieces: it only stops
  EXPECT_EQ(log, (Calls{"CharStopAll", "played A", "CharStopAll"}));
  EXPECT_FALSE(busy);
}

}  // namespace
}  // namespace rirerazo
