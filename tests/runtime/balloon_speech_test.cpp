// The balloon and speech as a character plays them.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "runtime/balloon.h"
#include "runtime/runtime_test_support.h"

namespace rirerazo::runtime::testing {
namespace {

using Lines = std::vector<std::string>;

// "one two three" at 160 wpm: 3 letters take 281 ms, 5 letters 375 ms. After Show (300 ms)
// and the Talk lead-in (50 ms) the words start at 350, 631 and 912; the end is at 1287.
TEST(Balloon, ShowsWordByWordThenHidesAfterTheOutput) {
  Harness h;
  auto& c = h.Load("C");
  c.Show();
  c.Speak("one two three", std::nullopt);
  auto shown_at = [&](std::int64_t ms) {
    h.RunUntil(ms);
    BalloonView view = h.runtime.Balloon("C");
    return view.visible ? std::string(view.Shown()) : std::string("<hidden>");
  };
  EXPECT_EQ(shown_at(349), "<hidden>");
  EXPECT_EQ(shown_at(350), "one");
  EXPECT_EQ(shown_at(700), "one two");
  EXPECT_EQ(shown_at(1286), "one two three");
  EXPECT_EQ(shown_at(1287 + 1499), "one two three");
  EXPECT_EQ(shown_at(1287 + 1500), "<hidden>");
  EXPECT_EQ(h.log.With("balloon"), (Lines{"350 balloon-show C", "2787 balloon-hide C"}));
}

TEST(Balloon, StyleBitsDecideWhetherAndHowItShows) {
  Harness h;
  auto& c = h.Load("C");
  c.Show();
  h.RunAll();
  c.SetBalloonStyle(kBalloonOn);  // no auto-pace, no auto-hide
  c.Think("all at once");
  h.RunUntil(h.Now() + 1);
  BalloonView view = h.runtime.Balloon("C");
  EXPECT_TRUE(view.visible && view.thought);
  EXPECT_EQ(view.Shown(), "all at once");
  h.RunUntil(60000);
  EXPECT_TRUE(h.runtime.Balloon("C").visible);  // stays until the next output or a click
  h.runtime.Click("C", 1, 2);
  EXPECT_FALSE(h.runtime.Balloon("C").visible);
  c.SetBalloonStyle(0);  // balloon off: speech still takes its time, raises its bookmarks
  auto speech = c.Speak("quiet \\mrk=3\\ please", std::nullopt);
  h.RunAll();
  EXPECT_FALSE(h.runtime.Balloon("C").visible);
  EXPECT_EQ(h.log.With("bookmark").size(), 1u);
  EXPECT_EQ(h.runtime.Status(speech), platform::RequestStatus::kComplete);
}

TEST(Balloon, SettingsAndTheirLimits) {
  BalloonDefaults defaults;
  defaults.auto_hide = false;
  BalloonSettings settings = BalloonSettings::FromDefaults(defaults);
  EXPECT_EQ(settings.Style(), kBalloonOn | kBalloonAutoPace | (32 << 16) | (2 << 24));
  settings.SetStyle(kBalloonOn | (40 << 16) | (3 << 24));
  EXPECT_EQ(settings.chars_per_line, 40);
  EXPECT_EQ(settings.lines, 3);
  settings.SetStyle(kBalloonOn | (2 << 16));  // too narrow: the smallest width instead
  EXPECT_EQ(settings.chars_per_line, kMinCharsPerLine);
  EXPECT_EQ(settings.lines, 3);  // a zero field leaves it alone
  EXPECT_THROW(settings.SetFontSize(0), RuntimeError);
  EXPECT_THROW(settings.SetFontSize(-12), RuntimeError);
  EXPECT_THROW(settings.SetFontName(""), RuntimeError);
  settings.SetFontSize(12);
  EXPECT_EQ(settings.font_size, 12);
  BalloonDefaults none;
  none.enabled = false;
  EXPECT_FALSE(BalloonSettings::FromDefaults(none).On());  // the file has no balloon
}

// Hidden, a character still takes the time to speak; nothing shows.
TEST(Speech, HiddenCharactersSpeakWithoutBalloonOrLeadIn) {
  Harness h;
  auto& c = h.Load("C");
  auto speech = c.Speak("hello", std::nullopt);
  h.RunAll();
  EXPECT_EQ(h.log.lines, (Lines{"0 start 1", "375 complete 1 complete"}));
  (void)speech;
}

// After Explain, whose last frame has mouths, speech starts at once; after Wave the pose is
// first wound back (frames 2, 1 and 0, 100 ms each) and the Talk lead-in (50 ms) plays.
TEST(Speech, StartsOnAHeldFrameWithMouthsElseAfterTheLeadIn) {
  for (auto [animation, delay_ms] : {std::pair{"Explain", 0}, std::pair{"Wave", 350}}) {
    Harness h;
    auto& c = h.Load("C");
    c.Show();
    c.Play(animation);
    h.RunAll();
    std::int64_t played = h.Now();
    c.Speak("hello", std::nullopt);
    h.RunUntil(played + delay_ms);
    EXPECT_EQ(h.log.lines.back(), std::to_string(played + delay_ms) + " balloon-show C")
        << animation;
    EXPECT_GE(h.runtime.Frame("C").mouth_shape, 0) << animation;
  }
}

TEST(Speech, LstRepeatsTheLastSpeech) {
  Harness h;
  auto& c = h.Load("C");
  c.Show();
  c.Speak("say it again", std::nullopt);
  h.RunAll();
  c.Speak("\\Lst\\", std::nullopt);
  h.RunUntil(h.Now() + 100);
  EXPECT_EQ(h.runtime.Balloon("C").text, "say it again");
}

TEST(Speech, ASoundFileLastsAsLongAsTheSoundAndAMissingOneFails) {
  Harness h;
  auto& c = h.Load("C");
  std::filesystem::path wav = h.folder / "half.wav";
  {
    std::ofstream out(wav, std::ios::binary);
    auto u32 = [&](std::uint32_t v) { out.write(reinterpret_cast<const char*>(&v), 4); };
    auto u16 = [&](std::uint16_t v) { out.write(reinterpret_cast<const char*>(&v), 2); };
    out << "RIFF";
    u32(36 + 4000);
    out << "WAVEfmt ";
    u32(16);
    u16(1), u16(1), u32(8000), u32(8000), u16(1), u16(8);  // 8 kHz, 8-bit mono: 8000 B/s
    out << "data";
    u32(4000);
    out << std::string(4000, '\x80');
  }
  auto sound = c.Speak("with sound \\mrk=1\\", wav.string());
  auto missing = c.Speak(std::nullopt, (h.folder / "nope.wav").string());
  h.RunAll();
  EXPECT_EQ(h.log.lines, (Lines{"0 start 1", "500 bookmark 1", "500 complete 1 complete",
                                "500 start 2", "510 complete 2 failed"}));
  (void)sound, (void)missing;
}

TEST(Speech, OneMegabyteOfTextIsSpokenToTheEnd) {
  Harness h;
  auto& c = h.Load("C");
  c.Show();
  std::string text;
  while (text.size() < (1u << 20)) text += "abcd, ";
  auto speech = c.Speak(text + "\\mrk=9\\", std::nullopt);
  h.RunAll(1'000'000'000);
  EXPECT_EQ(h.runtime.Status(speech), platform::RequestStatus::kComplete);
  EXPECT_EQ(h.log.With("bookmark"), Lines{std::to_string(h.Now() - 1500) + " bookmark 9"});
}

}  // namespace
}  // namespace rirerazo::runtime::testing
