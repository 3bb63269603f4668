// Runs real slide shows in the office on an X server of the test's own and checks the
// events the player would hear.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>

#include "impress/impress_test_support.h"

namespace rirerazo::impress::testing {
namespace {

using ::testing::ElementsAre;

class ImpressShow : public ::testing::Test {
 protected:
  void SetUp() override { RIRERAZO_REQUIRE_OFFICE(); }

  std::unique_ptr<ImpressApp> MakeApp() {
    auto app = std::make_unique<ImpressApp>(FindOfficeProgramFolder(), ImpressModuleCall{});
    app->SetEventListener(&log_);
    return app;
  }

  // Launches, opens `path` and starts its show as the player does.
  void Start(ImpressApp& app, const std::string& path, bool loop = false,
             bool use_timings = false) {
    LaunchAndWait(app);
    app.Activate();
    app.OpenPresentation(path, false, false, true);
    app.SetVisible(true);
    if (loop) app.SetLoopUntilStopped(true);
    if (use_timings)
      app.SetAdvanceMode(platform::SlideAdvanceMode::kUseSlideTimings);
    else
      app.SetAdvanceMode(platform::SlideAdvanceMode::kManual);
    app.RunSlideShow();
  }

  bool Logged(const std::string& event) const {
    return std::find(log_.events.begin(), log_.events.end(), event) != log_.events.end();
  }

  rirerazo::testing::ScratchFolder folder_;
  EventLog log_;
};

TEST_F(ImpressShow, ManualShowRaisesOneEventPerSlideThenEnds) {
  const std::string path = folder_.Write("three.fodp", FlatPresentation(Slides(3)));
  auto app = MakeApp();
  Start(*app, path);
  EXPECT_EQ(app->SlideCount(), 3);
  ASSERT_TRUE(PumpUntil(*app, [&] { return Logged("next 1"); }));
  app->NextSlide();
  ASSERT_TRUE(PumpUntil(*app, [&] { return Logged("next 2"); }));
  app->NextSlide();
  ASSERT_TRUE(PumpUntil(*app, [&] { return Logged("next 3"); }));
  app->NextSlide();  // past the last slide
  ASSERT_TRUE(PumpUntil(*app, [&] { return Logged("end"); }));
  EXPECT_THAT(log_.events, ElementsAre("begin", "next 1", "next 2", "next 3", "end"));
  const pid_t office = app->OfficePid();
  app->CloseActiveWindow();
  app->ClosePresentation();
  app->Quit();
  EXPECT_FALSE(ProcessAlive(office));
}

}  // namespace
}  // namespace rirerazo::impress::testing
