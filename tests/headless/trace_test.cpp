#include <gtest/gtest.h>

#include <sstream>

#include "headless/trace.h"
#include "headless/transcript.h"

namespace rirerazo::headless {
namespace {

class FixedClock : public platform::Clock {
 public:
  std::int64_t NowMs() const override { return now_ms; }
  platform::LocalDateTime LocalNow() const override { return {}; }
  std::int64_t now_ms = 0;
};

TEST(TraceJson, EscapesControlsQuotesAndLegacyBytes) {
  EXPECT_EQ(JsonQuote("a\"b\\c\r\n\x01"), "\"a\\\"b\\\\c\\r\\n\\u0001\"");
  // 0x93/0x94 are curly quotes in Windows-1252; 0xE9 is e-acute.
  EXPECT_EQ(JsonQuote("\x93hi\x94 caf\xE9"), "\"\u201Chi\u201D caf\u00E9\"");
  // Valid UTF-8 passes through untouched.
  EXPECT_EQ(JsonQuote("caf\u00E9"), "\"caf\u00E9\"");
}

TEST(TraceJson, OneObjectPerLineWithTimeKindAndFields) {
  FixedClock clock;
  std::ostringstream out;
  JsonLinesSink sink(out);
  Tracer tracer(clock);
  tracer.AddSink(&sink);
  clock.now_ms = 1500;
  tracer.Record("agent", {{"op", std::string("MoveTo")},
                          {"x", std::int64_t{448}},
                          {"ok", true},
                          {"names", std::vector<std::string>{"a", "b"}}});
  EXPECT_EQ(out.str(),
            "{\"t\":1500,\"kind\":\"agent\",\"op\":\"MoveTo\",\"x\":448,\"ok\":true,"
            "\"names\":[\"a\",\"b\"]}\n");
}

TEST(Transcript, BalloonTextDropsTagsAndShowsMappedText) {
  EXPECT_EQ(BalloonText("Hello \\mrk=5\\there"), "Hello there");
  EXPECT_EQ(BalloonText("I am \\Map=\"Vorn\"=\"VORN\"\\!"), "I am VORN!");
  EXPECT_EQ(BalloonText("\\Pau=200\\\\Spd=150\\Go"), "Go");
  EXPECT_EQ(BalloonText("broken \\mrk=1"), "broken ");
}

TEST(Transcript, ReadableLinesForCharacterActions) {
  std::ostringstream out;
  TranscriptSink sink(out);
  sink.Write({250,
              "agent",
              {{"op", std::string("Speak")},
               {"char", std::string("Host")},
               {"text", std::string("Hi\\mrk=1\\")}}});
  sink.Write({300,
              "agent",
              {{"op", std::string("Play")},
               {"char", std::string("Host")},
               {"animation", std::string("Wave")}}});
  sink.Write({400,
              "agent",
              {{"op", std::string("MoveTo")},
               {"char", std::string("Host")},
               {"x", std::int64_t{448}},
               {"y", std::int64_t{320}}}});
  // Speech that holds only a bookmark is the player's own marker: not shown.
  sink.Write({500,
              "agent",
              {{"op", std::string("Speak")},
               {"char", std::string("Host")},
               {"text", std::string("\\mrk=111111111\\")}}});
  EXPECT_EQ(out.str(),
            "[  0.250] Host says: Hi\n"
            "[  0.300] Host plays Wave\n"
            "[  0.400] Host moves to 448,320\n");
}

}  // namespace
}  // namespace rirerazo::headless
