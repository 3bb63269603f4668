#include "core/interp/substitutions.h"

#include <gtest/gtest.h>

#include "core/app/player.h"
#include "core/interp/date_phrases.h"
#include "support/fake_platform.h"

namespace rirerazo {
namespace {

std::string ScreenWords(std::string text, std::vector<CharEntry> characters, int w = 1024,
                        int h = 768) {
  ReplaceScreenWords(text, characters, w, h);
  return text;
}

TEST(ScreenWords, PlaceACharacterOnTheScreen) {
  const std::vector<CharEntry> host = {{"Host", "", 128, 128}};
  EXPECT_EQ(ScreenWords("HostLeftX HostCenterX HostRightX", host), "0 448 896");
  EXPECT_EQ(ScreenWords("HostTopY HostCenterY HostBottomY", host), "0 320 640");
  // Odd sizes truncate each half: 1023 / 2 - 127 / 2 = 511 - 63.
  EXPECT_EQ(ScreenWords("HostCenterX", {{"Host", "", 127, 127}}, 1023, 767), "448");
  // A character wider than the screen gives negative positions.
  EXPECT_EQ(ScreenWords("HostRightX", {{"Host", "", 1100, 10}}), "-76");
}

TEST(ScreenWords, LetterCaseIgnoredButNoDotAllowed) {
  const std::vector<CharEntry> host = {{"Host", "", 128, 128}};
  EXPECT_EQ(ScreenWords("hostcenterx, HOSTBOTTOMY - 20", host), "448, 640 - 20");
  EXPECT_EQ(ScreenWords("Host.CenterX", host), "Host.CenterX");
}

TEST(ScreenWords, EntriesAreReplacedInTableOrder) {
  // MyHostCenterX contains HostCenterX, replaced for Host first.
  const std::vector<CharEntry> both = {{"Host", "", 128, 128}, {"MyHost", "", 64, 64}};
  EXPECT_EQ(ScreenWords("MyHostCenterX", both), "My448");
}

TEST(JoiningBlanks, OnePassEachWay) {
  std::string text = "\"a\"  & b &  \"c\"   & d";
  JoinBlanks(text);
  EXPECT_EQ(text, "\"a\" & b & \"c\"  & d");
}

TEST(DatePhrases, MeltIntoQuotedText) {
  const std::string day = "Monday";
  auto replaced = [&](std::string text) {
    ReplacePhrase(text, "GetDay()", day);
    return text;
  };
  EXPECT_EQ(replaced("\"Today is \" & GetDay() & \"!\""), "\"Today is Monday!\"");
  EXPECT_EQ(replaced("\"It is \" & GetDay()"), "\"It is Monday");
  EXPECT_EQ(replaced("GetDay() & \" is the day\""), "Monday is the day\"");
  EXPECT_EQ(replaced("Host.Speak GetDay()"), "Host.Speak Monday");
  EXPECT_EQ(replaced("getday()"), "getday()");
}

TEST(DatePhrases, AllFourFromTheClock) {
  testing::FakeClock clock;
  clock.now = {2026, 12, 1, 2, 15, 5, 0};
  std::string text = "GetDay(), GetDate(), GetTimeOfDay(), GetTime()";
  ReplaceDatePhrases(text, clock);
  EXPECT_EQ(text, "Tuesday, December 1st, 2026, Afternoon, 3:05 PM");
}

TEST(DatePhrases, SuffixesTimesAndTimesOfDay) {
  const int days[] = {1, 2, 3, 4, 11, 12, 13, 21, 22, 23, 31};
  const char* suffixes[] = {"st", "nd", "rd", "th", "th", "th", "th", "st", "nd", "rd", "st"};
  for (std::size_t i = 0; i < std::size(days); ++i) EXPECT_EQ(DaySuffix(days[i]), suffixes[i]);
  platform::LocalDateTime t;
  const int hours[] = {0, 11, 12, 16, 17, 23};
  const char* times[] = {"12:07 AM", "11:07 AM", "12:07 PM", "4:07 PM", "5:07 PM", "11:07 PM"};
  const char* parts[] = {"Morning", "Morning", "Afternoon", "Afternoon", "Evening", "Evening"};
  for (std::size_t i = 0; i < std::size(hours); ++i) {
    t.hour = hours[i];
    t.minute = 7;
    EXPECT_EQ(GetTime(t), times[i]);
    EXPECT_EQ(GetTimeOfDay(t), parts[i]);
  }
}

class ParseOptionTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fakes_.agent.files = {"host.acs", "myhost.acs"};
    for (const char* id : {"Host", "MyHost"}) {
      fakes_.agent.Load(id, id == std::string("Host") ? "host.acs" : "myhost.acs");
      player_.characters().loaded.push_back({id, "", 128, 128});
    }
    fakes_.agent.Get("Host").left = 100;
    fakes_.agent.Get("Host").top = -20;
    fakes_.agent.Get("MyHost").left = 7;
  }
  testing::FakePlatform fakes_;
  Player player_{fakes_.bundle};
};

TEST_F(ParseOptionTest, CharacterReferencesAreCurrentValues) {
  EXPECT_EQ(ParseOption(player_, "Host.Left + Host.Width"), 228);
  EXPECT_EQ(ParseOption(player_, "host.top - 5"), -25);
  EXPECT_EQ(ParseOption(player_, "10 - Host.Top"), 30);
  EXPECT_EQ(ParseOption(player_, ""), 0);
  EXPECT_EQ(ParseOption(player_, "Guest.Left + 1"), 0);  // not a number: rejected
}

TEST_F(ParseOptionTest, PlainReplacementDamagesLongerIds) {
  // "MyHost.Left" becomes "My100" through Host's replacement, which evaluates to 0.
  EXPECT_EQ(ParseOption(player_, "MyHost.Left"), 0);
}

}  // namespace
}  // namespace rirerazo
