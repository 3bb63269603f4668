// The progress line: what it says, rewritten in place on a terminal, plain lines now and
// then otherwise, and the closing line.
#include <gtest/gtest.h>

#include <sstream>

#include "render/render_progress.h"

namespace rirerazo::render {
namespace {

TEST(RenderProgress, SaysTimeFramesSpeedAndTimeLeftWhenTheLengthIsKnown) {
  std::int64_t wall = 1000;
  std::ostringstream err;
  RenderProgress with_length(err, false, 60000, [&] { return wall; });
  EXPECT_EQ(with_length.Line(10000, 250, 2000),
            "rirerazo: rendered 10.0 s of at most 60.0 s, 250 frames, 5.0x real time, at most "
            "10.0 s left");
  RenderProgress without(err, false, std::nullopt, [&] { return wall; });
  EXPECT_EQ(without.Line(10000, 250, 4000),
            "rirerazo: rendered 10.0 s, 250 frames, 2.5x real time");
  EXPECT_EQ(without.Line(0, 0, 0), "rirerazo: rendered 0.0 s, 0 frames");
}

TEST(RenderProgress, PlainLinesNowAndThenAndOneLineInPlaceOnATerminal) {
  std::int64_t wall = 0;
  std::ostringstream plain;
  RenderProgress to_file(plain, false, std::nullopt, [&] { return wall; });
  for (int frame = 1; frame <= 300; ++frame) {
    wall += 100;  // 30 s of wall time in all
    to_file.Update(frame * 40, frame);
  }
  const std::string text = plain.str();
  EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 6);
  EXPECT_EQ(text.find('\r'), std::string::npos);

  std::ostringstream terminal;
  wall = 0;
  RenderProgress on_terminal(terminal, true, std::nullopt, [&] { return wall; });
  for (int frame = 1; frame <= 10; ++frame) {
    wall += 250;
    on_terminal.Update(frame * 40, frame);
  }
  on_terminal.Finish(400, 10, "show.mp4");
  const std::string shown = terminal.str();
  EXPECT_EQ(std::count(shown.begin(), shown.end(), '\r'), 11);
  EXPECT_EQ(std::count(shown.begin(), shown.end(), '\n'), 1);
  EXPECT_NE(shown.find("rirerazo: wrote show.mp4: 0.4 s, 10 frames in 2.5 s (0.2x real time)\n"),
            std::string::npos);
}

}  // namespace
}  // namespace rirerazo::render
