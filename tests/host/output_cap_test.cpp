// The trace and the transcript stop growing at their size limit and say so.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "host/output_cap.h"
#include "host/trace.h"
#include "host/transcript.h"

namespace rirerazo::host {
namespace {

class FixedClock : public platform::Clock {
 public:
  std::int64_t NowMs() const override { return now_ms; }
  platform::LocalDateTime LocalNow() const override { return {}; }
  std::int64_t now_ms = 0;
};

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

TEST(OutputCap, KeepsRoomForTheClosingLinesAndCutsOnce) {
  OutputCap cap(OutputCap::kClosingRoomBytes + 100);
  EXPECT_EQ(cap.Admit(60), OutputCap::Verdict::kWrite);
  EXPECT_EQ(cap.Admit(40), OutputCap::Verdict::kWrite);  // exactly up to the room
  EXPECT_EQ(cap.Admit(1), OutputCap::Verdict::kCutHere);
  EXPECT_EQ(cap.Admit(1), OutputCap::Verdict::kDropped);
  EXPECT_TRUE(cap.Cut());
  OutputCap tiny(10);  // smaller than the room: the first piece is cut
  EXPECT_EQ(tiny.Admit(1), OutputCap::Verdict::kCutHere);
  EXPECT_EQ(kOutputLimitBytes, 256u * 1024 * 1024);
}

TEST(OutputCap, TheTraceEndsWithACutRecordAndStillTheExit) {
  FixedClock clock;
  std::ostringstream out;
  const std::uint64_t limit = OutputCap::kClosingRoomBytes + 500;
  JsonLinesSink sink(out, limit);
  Tracer tracer(clock);
  tracer.AddSink(&sink);
  for (int i = 0; i < 1000; ++i) {
    clock.now_ms = i;
    tracer.Record("msgbox", {{"text", std::string("No character is loaded as Host")}});
  }
  tracer.Record("exit", {{"status", std::int64_t{3}}});
  EXPECT_LE(out.str().size(), limit);
  const std::vector<std::string> lines = Lines(out.str());
  ASSERT_GE(lines.size(), 3u);
  EXPECT_EQ(lines[lines.size() - 2], R"({"t":)" + std::to_string(lines.size() - 2) +
                                         R"(,"kind":"cut","limit":)" + std::to_string(limit) + "}");
  EXPECT_EQ(lines.back(), R"({"t":999,"kind":"exit","status":3})");
}

TEST(OutputCap, TheTranscriptSaysWhereItStops) {
  FixedClock clock;
  std::ostringstream out;
  const std::uint64_t limit = OutputCap::kClosingRoomBytes + 300;
  TranscriptSink sink(out, limit);
  Tracer tracer(clock);
  tracer.AddSink(&sink);
  for (int i = 0; i < 1000; ++i) {
    clock.now_ms = 1000 + i;
    tracer.Record("msgbox", {{"title", std::string("RIRERazo")},
                             {"text", std::string("No character is loaded as Host")},
                             {"answer", std::string("ok")}});
  }
  tracer.Record("exit", {{"status", std::int64_t{3}}});
  EXPECT_LE(out.str().size(), limit);
  const std::vector<std::string> lines = Lines(out.str());
  ASSERT_GE(lines.size(), 3u);
  EXPECT_NE(lines[0].find("Message box"), std::string::npos);
  EXPECT_NE(
      lines[lines.size() - 2].find("The transcript stops here: it reached its size limit of " +
                                   std::to_string(limit) + " bytes."),
      std::string::npos);
  EXPECT_EQ(lines.back(), "[  1.999] The player ends.");
}

}  // namespace
}  // namespace rirerazo::host
