#include <gtest/gtest.h>

#include <sstream>

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

TEST(Transcript, RequestsShowWhenTheyStartAndStoppedOnesNever) {
  std::ostringstream out;
  TranscriptSink sink(out);
  const auto call = [&](std::int64_t t, std::string op, std::string key, std::string value,
                        std::int64_t request) {
    sink.Write({t,
                "agent",
                {{"op", op}, {"char", std::string("Host")}, {key, value}, {"request", request}}});
  };
  const auto event = [&](std::int64_t t, std::string name, std::int64_t request) {
    sink.Write({t, "event", {{"event", name}, {"request", request}}});
  };
  call(0, "Speak", "text", "Hi\\mrk=1\\", 7);
  call(0, "Play", "animation", "Wave", 8);
  call(0, "Play", "animation", "Never", 9);
  // The player's own end marker: speech that holds only a bookmark.
  call(0, "Speak", "text", "\\mrk=111111111\\", 10);
  event(250, "RequestStart", 7);
  event(300, "RequestStart", 8);
  event(310, "RequestComplete", 9);  // stopped before it started
  event(320, "RequestStart", 9);
  event(330, "RequestStart", 10);
  sink.Write({400,
              "agent",
              {{"op", std::string("MoveTo")},
               {"char", std::string("Host")},
               {"x", std::int64_t{448}},
               {"y", std::int64_t{320}}}});
  EXPECT_EQ(out.str(),
            "[  0.250] Host says: Hi\n"
            "[  0.300] Host plays Wave\n"
            "[  0.400] Host moves to 448,320\n");
}

}  // namespace
}  // namespace rirerazo::host
