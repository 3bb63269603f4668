#include "core/ppt/slide_pause.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "support/recording_services.h"

namespace rirerazo {
namespace {

// Counts the slide changes the pause asks for.
class CountingApp final : public platform::PresentationApp {
 public:
  void Launch() override {}
  void Activate() override {}
  void SetVisible(bool) override {}
  void SetWindowState(platform::AppWindowState) override {}
  void OpenPresentation(const std::string&, bool, bool, bool) override {}
  std::int32_t SlideCount() override { return 1; }
  void SetLoopUntilStopped(bool) override {}
  void SetAdvanceMode(platform::SlideAdvanceMode) override {}
  void RunSlideShow() override {}
  void NextSlide() override { advanced_at_ms.push_back(clock->NowMs()); }
  void CloseActiveWindow() override {}
  void ClosePresentation() override {}
  void Quit() override {}
  void SetEventListener(platform::PresentationEvents*) override {}

  const platform::Clock* clock = nullptr;
  std::vector<std::int64_t> advanced_at_ms;
};

class SlidePause : public ::testing::Test {
 protected:
  SlidePause() {
    app.clock = &loop;
    SlideShowLinks links;
    links.app = &app;
    links.loop = &loop;
    driver = std::make_shared<CPowerPoint>(links);
  }
  testing::VirtualLoop loop;
  CountingApp app;
  std::shared_ptr<CPowerPoint> driver;
};

TEST_F(SlidePause, CountsWholeSecondTicksOfTheClock) {
  struct Case {
    std::int64_t start_ms;
    std::int32_t pause_s;
    std::int64_t advanced_at_ms;
  };
  for (const Case& c : {Case{0, 5, 5000}, Case{900, 5, 5000}, Case{1000, 3, 4000},
                        Case{1999, 1, 2099}, Case{200, 0, 300}, Case{200, -4, 300}}) {
    loop.SetNowMs(c.start_ms);
    app.advanced_at_ms.clear();
    WaitSlidePauseAndAdvance(loop, loop, c.pause_s, driver);
    EXPECT_EQ(app.advanced_at_ms, std::vector<std::int64_t>{c.advanced_at_ms})
        << "start " << c.start_ms << ", pause " << c.pause_s;
  }
}

TEST_F(SlidePause, EventsRunDuringTheWaitAndMayEndTheShow) {
  int events = 0;
  loop.At(1500, [&] { ++events; });
  loop.At(2500, [&] { driver.reset(); });  // the show ended meanwhile
  WaitSlidePauseAndAdvance(loop, loop, 3, driver);
  EXPECT_EQ(events, 1);
  EXPECT_TRUE(app.advanced_at_ms.empty());
  EXPECT_EQ(loop.sleeps, std::vector<std::int64_t>(30, 100));
}

}  // namespace
}  // namespace rirerazo
