#include <gtest/gtest.h>

#include "headless/virtual_clock.h"

namespace rirerazo::headless {
namespace {

TEST(VirtualClock, MovesOnlyForwardAndOnlyWhenTold) {
  VirtualClock clock;
  EXPECT_EQ(clock.NowMs(), 0);
  clock.AdvanceTo(1500);
  clock.AdvanceTo(1000);  // never back
  EXPECT_EQ(clock.NowMs(), 1500);
  clock.AdvanceBy(500);
  EXPECT_EQ(clock.NowMs(), 2000);
}

TEST(VirtualClock, CalendarFollowsVirtualTimeAcrossDaysMonthsAndLeapYears) {
  VirtualClock clock(*ParseStartTime("2024-02-28T23:59:30"));
  platform::LocalDateTime start = clock.LocalNow();
  EXPECT_EQ(start.weekday, 3);  // a Wednesday
  clock.AdvanceTo(30'000);
  platform::LocalDateTime leap_day = clock.LocalNow();
  EXPECT_EQ(leap_day.month, 2);
  EXPECT_EQ(leap_day.day, 29);
  EXPECT_EQ(leap_day.hour, 0);
  EXPECT_EQ(leap_day.weekday, 4);
  clock.AdvanceBy(86'400'000LL * 366);
  platform::LocalDateTime next_year = clock.LocalNow();
  EXPECT_EQ(next_year.year, 2025);
  EXPECT_EQ(next_year.month, 3);
  EXPECT_EQ(next_year.day, 1);
}

TEST(VirtualClock, DefaultStartIsSaturdayTheFirstOf2000) {
  platform::LocalDateTime now = VirtualClock().LocalNow();
  EXPECT_EQ(now.year, 2000);
  EXPECT_EQ(now.weekday, 6);
  EXPECT_EQ(now.hour, 0);
}

TEST(StartTime, AcceptedAndRefusedForms) {
  EXPECT_TRUE(ParseStartTime("1999-12-31"));
  EXPECT_TRUE(ParseStartTime("1999-12-31 23:59"));
  EXPECT_EQ(ParseStartTime("2001-09-11T08:46:40")->second, 40);
  for (const char* bad :
       {"", "1999-13-01", "2023-02-29", "2024-01-01T24:00", "2024-01-01T10:60", "2024-1-01",
        "2024-01-01X10:00", "2024-01-01T10:00:00Z", "+024-01-01", "abcd-ef-gh"}) {
    EXPECT_FALSE(ParseStartTime(bad)) << bad;
  }
}

TEST(Calendar, DaysRoundTripAroundEpochAndCenturies) {
  for (std::int64_t days : {-719468LL, -1LL, 0LL, 10957LL, 11016LL, 2932896LL}) {
    platform::LocalDateTime date = CivilFromDays(days);
    EXPECT_EQ(DaysFromCivil(date.year, date.month, date.day), days);
  }
  EXPECT_EQ(DaysFromCivil(2000, 3, 1) - DaysFromCivil(2000, 2, 28), 2);  // 2000 is leap
  EXPECT_EQ(DaysFromCivil(1900, 3, 1) - DaysFromCivil(1900, 2, 28), 1);  // 1900 is not
}

}  // namespace
}  // namespace rirerazo::headless
