// Runs real slide shows in the office on an X server of the test's own and checks the
// events the player would hear.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>

#include "impress/impress_test_support.h"
#include "impress/private/office_errors.h"
#include "os/x11_key_sender.h"

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

// The office moves on by the slides' own timings; the player only listens.
TEST_F(ImpressShow, SlideTimingsAdvanceTheShowByThemselves) {
  const std::string path = folder_.Write("timed.fodp", FlatPresentation(Slides(3, 1)));
  auto app = MakeApp();
  Start(*app, path, /*loop=*/false, /*use_timings=*/true);
  ASSERT_TRUE(PumpUntil(*app, [&] { return Logged("end"); }));
  EXPECT_THAT(log_.events, ElementsAre("begin", "next 1", "next 2", "next 3", "end"));
  app->Quit();
}

// A looping show starts again after its last slide, every slide raising its event again,
// until the user ends it with Escape.
TEST_F(ImpressShow, ALoopingShowRunsUntilTheUserEndsIt) {
  const std::string path = folder_.Write("loop.fodp", FlatPresentation(Slides(2, 1)));
  auto app = MakeApp();
  Start(*app, path, /*loop=*/true, /*use_timings=*/true);
  ASSERT_TRUE(PumpUntil(*app, [&] { return log_.events.size() >= 5; }));
  EXPECT_THAT(log_.events, ElementsAre("begin", "next 1", "next 2", "next 1", "next 2"));
  os::X11KeySender().SendKeys("{ESC}");
  ASSERT_TRUE(PumpUntil(*app, [&] { return Logged("end"); }));
  EXPECT_FALSE(app->ShowOnScreen());
  app->Quit();
}

// Both formats a script is likely to name, made by the office itself from our flat file.
TEST_F(ImpressShow, OpensOpenDocumentAndOfficeOpenXmlPresentations) {
  const std::string flat = folder_.Write("formats.fodp", FlatPresentation(Slides(4)));
  const std::string odp = ConvertWithOffice(flat, "odp");
  const std::string pptx = ConvertWithOffice(flat, "pptx");
  ASSERT_FALSE(odp.empty());
  ASSERT_FALSE(pptx.empty());
  auto app = MakeApp();
  LaunchAndWait(*app);
  app->OpenPresentation(odp, false, false, true);
  EXPECT_EQ(app->SlideCount(), 4);
  app->ClosePresentation();
  Start(*app, pptx);
  EXPECT_EQ(app->SlideCount(), 4);
  ASSERT_TRUE(PumpUntil(*app, [&] { return Logged("next 1"); }));
  app->NextSlide();
  ASSERT_TRUE(PumpUntil(*app, [&] { return Logged("next 2"); }));
  app->Quit();
}

// Files that are not there or are no presentation fail to open with the open error; the
// office stays usable for the next file.
TEST_F(ImpressShow, AMissingFileOrANonPresentationFailsToOpen) {
  auto app = MakeApp();
  LaunchAndWait(*app);
  const auto open_error = [&](const std::string& path) {
    try {
      app->OpenPresentation(path, false, false, true);
    } catch (const RuntimeError& error) {
      return error.Number();
    }
    return 0L;
  };
  EXPECT_EQ(open_error(folder_ / "missing.odp"), kOfficeFailed);
  EXPECT_EQ(open_error(folder_.MakeFolder("folder.odp")), kOfficeFailed);
  EXPECT_EQ(open_error(folder_.Write("text.odp", "just some text\n")), kOfficeFailed);
  EXPECT_EQ(open_error(folder_.Write("broken.pptx", "PK\3\4 not really a zip")), kOfficeFailed);
  app->OpenPresentation(folder_.Write("good.fodp", FlatPresentation(Slides(2))), false, false,
                        true);
  EXPECT_EQ(app->SlideCount(), 2);
  app->Quit();
}

// Calls before Launch fail as on an application that is not there; after Quit the office
// is gone and its profile folder removed.
TEST_F(ImpressShow, QuitEndsTheOfficeAndRemovesItsProfile) {
  auto app = MakeApp();
  try {
    app->SlideCount();
    ADD_FAILURE() << "no error before Launch";
  } catch (const RuntimeError& error) {
    EXPECT_EQ(error.Number(), err::kObjectRequired);
  }
  LaunchAndWait(*app);
  const pid_t office = app->OfficePid();
  const std::string profile = ProfileFolderOf(office);
  ASSERT_FALSE(profile.empty());
  EXPECT_TRUE(std::filesystem::exists(profile));
  app->Quit();
  EXPECT_FALSE(ProcessAlive(office));
  EXPECT_FALSE(std::filesystem::exists(profile));
}

// The office dying in the middle of a show ends the show; closing down afterwards fails
// quickly (the player skips those errors) instead of hanging.
TEST_F(ImpressShow, AnOfficeThatDiesEndsTheShow) {
  const std::string path = folder_.Write("dies.fodp", FlatPresentation(Slides(3)));
  auto app = MakeApp();
  Start(*app, path);
  ASSERT_TRUE(PumpUntil(*app, [&] { return Logged("next 1"); }));
  kill(app->OfficePid(), SIGKILL);
  ASSERT_TRUE(PumpUntil(
      *app, [&] { return Logged("end"); }, std::chrono::seconds(10)));
  EXPECT_EQ(log_.events.back(), "end");
  EXPECT_THROW(app->NextSlide(), RuntimeError);
  EXPECT_THROW(app->ClosePresentation(), RuntimeError);
  EXPECT_THROW(app->Quit(), RuntimeError);
}

// However the player ends, the office ends with it: here the player crashes.
TEST_F(ImpressShow, TheOfficeDoesNotOutliveACrashedPlayer) {
  int fds[2];
  ASSERT_EQ(pipe(fds), 0);
  const pid_t player = fork();
  ASSERT_GE(player, 0);
  if (player == 0) {
    close(fds[0]);
    // The crash leaves the office's profile behind: it goes with the test's folder.
    setenv("TMPDIR", folder_.MakeFolder("tmp").c_str(), 1);
    ImpressApp app(FindOfficeProgramFolder(), ImpressModuleCall{});
    LaunchAndWait(app);
    const pid_t office = app.OfficePid();
    if (write(fds[1], &office, sizeof office) != sizeof office) _exit(1);
    std::abort();
  }
  close(fds[1]);
  pid_t office = 0;
  const bool told = read(fds[0], &office, sizeof office) == sizeof office;
  close(fds[0]);
  int status = 0;
  waitpid(player, &status, 0);
  ASSERT_TRUE(told) << "the crashing player never got the office started";
  EXPECT_TRUE(WIFSIGNALED(status));
  bool gone = false;
  for (int i = 0; i < 100 && !gone; ++i) {
    gone = kill(office, 0) != 0;
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  EXPECT_TRUE(gone) << "office " << office << " outlived the player";
}

}  // namespace
}  // namespace rirerazo::impress::testing
