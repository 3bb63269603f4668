// Rendering scripts to video files: the file's streams, rate and length against the trace,
// chosen pictures against what the screen shows (the character at its place, the balloon
// while speaking and not after), the voice in the sound track, the same video from the same
// script, the progress line, the ends of scripts that never end, and the errors.
#include <QColor>
#include <filesystem>
#include <fstream>

#include "render/screen_canvas.h"
#include "render_test_support.h"

namespace rirerazo::render::testing {
namespace {

namespace fs = std::filesystem;

const std::string kRiraFolder = std::string(RIRERAZO_BINARY_DIR) + "/src";

// Rira shows at (40, 100) on a 320x240 screen, speaks, waves long enough for her balloon
// to go, and leaves.
const char kSpeechScript[] = R"([VORN Script]
Version=1.0

[Characters]
Host=Rira.acs

[Script]
Host.MoveTo 40, 100, 0
Host.Show
Host.Speak "Hello there. This is a short test of the video."
Host.Play Wave
Host.Play Wave
Host.Play Wave
Host.Hide
)";

const char kShortScript[] = R"([VORN Script]
Version=1.0

[Characters]
Host=Rira.acs

[Script]
Host.MoveTo 20, 20, 0
Host.Show
Host.Play Wave
Host.Hide
)";

class RenderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!fs::exists(kRiraFolder + "/Rira.acs")) GTEST_SKIP() << "Rira.acs is not built";
    setenv("RIRERAZO_CHARACTERS", kRiraFolder.c_str(), 1);
  }
  std::string Script(const char* text) { return folder_.Write("show.vrn", text); }

  rirerazo::testing::ScratchFolder folder_;
};

// When the request made by the agent call `op` started and completed, from the trace.
struct Span {
  std::int64_t start_ms = -1;
  std::int64_t end_ms = -1;
};
Span RequestSpan(const std::string& trace, const std::string& op, int nth = 0) {
  std::int64_t request = -1;
  Span span;
  std::istringstream lines(trace);
  for (std::string line; std::getline(lines, line);) {
    const auto record = nlohmann::json::parse(line, nullptr, false);
    if (!record.is_object()) continue;
    if (record.value("kind", "") == "agent" && record.value("op", "") == op && nth-- == 0) {
      request = record.value("request", -1);
    }
    if (request < 0 || record.value("kind", "") != "event" ||
        record.value("request", -2) != request) {
      continue;
    }
    if (record.value("event", "") == "RequestStart") span.start_ms = record["t"];
    if (record.value("event", "") == "RequestComplete") span.end_ms = record["t"];
  }
  return span;
}

TEST_F(RenderTest, TheVideoShowsAndSoundsWhatTheScriptDoes) {
  RIRERAZO_REQUIRE_FFMPEG_TOOLS();
  const std::string video = folder_ / "show.mp4";
  const RenderRun run = Render(Script(kSpeechScript), video, {"--screen", "320x240"});
  ASSERT_EQ(run.status, 0) << run.errors;

  const auto probe = Probe(video);
  const auto* picture = StreamOf(probe, "video");
  ASSERT_TRUE(picture && StreamOf(probe, "audio"));
  EXPECT_EQ((*picture)["codec_name"], "h264");
  EXPECT_EQ((*picture)["r_frame_rate"], "25/1");
  EXPECT_EQ((*picture)["width"], 320);
  EXPECT_EQ((*picture)["height"], 240);
  const double end_s = double(TraceEndMs(run.trace)) / 1000;
  const double duration_s = std::stod((*picture)["duration"].get<std::string>());
  EXPECT_NEAR(duration_s, end_s, 0.041);

  const Span speech = RequestSpan(run.trace, "Speak");
  const Span hide = RequestSpan(run.trace, "Hide");
  ASSERT_GT(speech.start_ms, 0);
  ASSERT_GT(speech.end_ms, speech.start_ms + 1000);
  // The balloon goes 1.5 s after the speech; the waves last longer than that.
  const double after_balloon_s = double(speech.end_ms + 1700) / 1000;
  ASSERT_LT(after_balloon_s, double(hide.start_ms) / 1000);

  const QColor neutral = ScreenCanvas::NeutralColour();
  const QRect character(40, 100, 128, 128);
  const QRect above_character(90, 70, 30, 6);  // inside the balloon's body
  const QRect corner(280, 200, 30, 30);
  const double speaking_s = double(speech.start_ms + speech.end_ms) / 2000;
  const QImage speaking = DecodeFrameAt(video, speaking_s, 320, 240);
  ASSERT_FALSE(speaking.isNull());
  EXPECT_GT(MeanDistanceFrom(speaking, character, neutral), 60);
  EXPECT_GT(MeanDistanceFrom(speaking, above_character, neutral), 200);
  EXPECT_LT(MeanDistanceFrom(speaking, corner, neutral), 12);
  const QImage waving = DecodeFrameAt(video, after_balloon_s, 320, 240);
  EXPECT_GT(MeanDistanceFrom(waving, character, neutral), 60);
  EXPECT_LT(MeanDistanceFrom(waving, above_character, neutral), 12);

  const auto sound = DecodeSound(video);
  EXPECT_GT(Energy(sound, speech.start_ms / 1000.0 + 0.1, speech.end_ms / 1000.0 - 0.1), 300);
  EXPECT_LT(Energy(sound, speech.end_ms / 1000.0 + 0.2, hide.start_ms / 1000.0), 30);
}

TEST_F(RenderTest, TheSameScriptGivesTheSameFramesInEitherFormat) {
  RIRERAZO_REQUIRE_FFMPEG_TOOLS();
  const std::string script = Script(kShortScript);
  auto frames = [&](const std::string& name) {
    const RenderRun run = Render(script, folder_ / name, {"--screen", "160x120", "--seed", "7"});
    EXPECT_EQ(run.status, 0) << run.errors;
    return RunCommand("ffmpeg -v error -i '" + (folder_ / name) + "' -map 0:v -f framemd5 -")
        .output;
  };
  const std::string first = frames("a.webm");
  EXPECT_NE(first.find("0,"), std::string::npos);
  EXPECT_EQ(first, frames("b.webm"));
  const auto probe = Probe(folder_ / "a.webm");
  ASSERT_TRUE(StreamOf(probe, "video") && StreamOf(probe, "audio"));
  EXPECT_EQ((*StreamOf(probe, "video"))["codec_name"], "vp9");
  EXPECT_EQ((*StreamOf(probe, "audio"))["codec_name"], "opus");
}

TEST_F(RenderTest, ProgressIsReportedUnlessQuiet) {
  const std::string script = Script(kShortScript);
  const RenderRun loud = Render(script, folder_ / "a.mp4", {"--screen", "160x120"});
  EXPECT_NE(loud.errors.find("rirerazo: wrote " + (folder_ / "a.mp4") + ": "), std::string::npos)
      << loud.errors;
  EXPECT_NE(loud.errors.find("x real time)"), std::string::npos);
  const RenderRun quiet = Render(script, folder_ / "b.mp4", {"--screen", "160x120", "--quiet"});
  EXPECT_EQ(quiet.errors, "");
}

TEST_F(RenderTest, AScriptThatWaitsForeverEndsTheVideoWithANotice) {
  RIRERAZO_REQUIRE_FFMPEG_TOOLS();
  const RenderRun waiting = Render(kExamples + "commands.vrn", folder_ / "a.mp4",
                                   {"--screen", "160x120", "--quiet"});
  EXPECT_EQ(waiting.status, 0);
  EXPECT_NE(waiting.errors.find("waits for user input"), std::string::npos) << waiting.errors;
  EXPECT_TRUE(fs::exists(folder_ / "a.mp4"));

  const RenderRun bounded = Render(kExamples + "welcome.vrn", folder_ / "b.mp4",
                                   {"--screen", "160x120", "--quiet", "--duration", "1.5"});
  EXPECT_EQ(bounded.status, 0);
  EXPECT_NE(bounded.errors.find("--duration"), std::string::npos) << bounded.errors;
  const auto probe = Probe(folder_ / "b.mp4");
  ASSERT_TRUE(StreamOf(probe, "video"));
  EXPECT_NEAR(std::stod((*StreamOf(probe, "video"))["duration"].get<std::string>()), 1.5, 0.041);
}

TEST_F(RenderTest, ErrorsAreClearAndLeaveNoFile) {
  const std::string script = Script(kShortScript);
  const RenderRun wrong_kind = Render(script, folder_ / "a.avi");
  EXPECT_EQ(wrong_kind.status, 2);
  EXPECT_NE(wrong_kind.errors.find("must end in .mp4 or .webm"), std::string::npos);
  const RenderRun unwritable = Render(script, folder_ / "missing/a.mp4");
  EXPECT_EQ(unwritable.status, kExitRenderFailed);
  EXPECT_NE(unwritable.errors.find("cannot write"), std::string::npos) << unwritable.errors;
  const RenderRun no_background =
      Render(script, folder_ / "b.mp4", {"--background", folder_ / "none.png"});
  EXPECT_EQ(no_background.status, 2);
  EXPECT_NE(no_background.errors.find("background"), std::string::npos);
  EXPECT_EQ(host::ParseOptions({"--render", "a.mp4", "--fps", "0", "x"}).error,
            "--fps takes a whole number from 1 to 120, not '0'");
  EXPECT_FALSE(host::ParseOptions({"--duration", "1.2345", "x"}).error.empty());
  // Only the script is left in the folder.
  EXPECT_EQ(std::distance(fs::directory_iterator(folder_.Path()), fs::directory_iterator()), 1);
}

// What the issue asks for, through the program and its module: Rira appears, speaks with her
// balloon and voice, moves and waves.
TEST_F(RenderTest, TheProgramRendersTheWelcomeShow) {
  RIRERAZO_REQUIRE_FFMPEG_TOOLS();
  const std::string video = folder_ / "show.mp4";
  const CommandResult run = RunCommand(kProgram + " --render '" + video +
                                       "' --quiet --screen 640x360 --trace - '" + kExamples +
                                       "welcome.vrn' 2>&1");
  ASSERT_EQ(run.status, 0) << run.output;
  const auto probe = Probe(video);
  const auto* picture = StreamOf(probe, "video");
  ASSERT_TRUE(picture && StreamOf(probe, "audio"));
  // The picture's length, not the file's: the compressed sound ends on a whole block of samples,
  // up to about 50 ms past the show.
  const double duration_s = std::stod((*picture)["duration"].get<std::string>());
  EXPECT_NEAR(duration_s, double(TraceEndMs(run.output)) / 1000, 0.041);
  const Span speech = RequestSpan(run.output, "Speak");
  const auto sound = DecodeSound(video);
  EXPECT_GT(Energy(sound, speech.start_ms / 1000.0 + 0.1, speech.end_ms / 1000.0 - 0.1), 300);
  const QImage speaking =
      DecodeFrameAt(video, double(speech.start_ms + speech.end_ms) / 2000, 640, 360);
  ASSERT_FALSE(speaking.isNull());
  // Something other than the background: Rira and her balloon.
  EXPECT_GT(MeanDistanceFrom(speaking, speaking.rect(), ScreenCanvas::NeutralColour()), 5);
}

}  // namespace
}  // namespace rirerazo::render::testing
