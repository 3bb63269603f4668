#include "core/script/profile_values.h"

#include <gtest/gtest.h>

namespace rirerazo::script {
namespace {

TEST(PositiveFlag, OnlyAPositiveLeadingNumberTurnsItOn) {
  EXPECT_EQ(PositiveFlag("0.5"), "1");
  EXPECT_EQ(PositiveFlag("2"), "1");
  EXPECT_EQ(PositiveFlag("3 times"), "1");
  EXPECT_EQ(PositiveFlag("  &H10"), "1");
  EXPECT_EQ(PositiveFlag("-1"), "0");
  EXPECT_EQ(PositiveFlag("0"), "0");
  EXPECT_EQ(PositiveFlag("True"), "0");
  EXPECT_EQ(PositiveFlag("yes"), "0");
  EXPECT_EQ(PositiveFlag(""), "0");
  EXPECT_EQ(PositiveFlag("1e999"), "0");
}

TEST(ClampNumberText, OutOfRangeBecomesTheBoundInRangeStaysAsWritten) {
  EXPECT_EQ(ClampNumberText("-3", 0, 60), "0");
  EXPECT_EQ(ClampNumberText("75", 0, 60), "60");
  EXPECT_EQ(ClampNumberText("12", 0, 60), "12");
  EXPECT_EQ(ClampNumberText(" 2.5 s", 0, 60), " 2.5 s");
  EXPECT_EQ(ClampNumberText("soon", 0, 60), "soon");
  EXPECT_EQ(ClampNumberText("60.0001", 0, 60), "60");
  EXPECT_EQ(ClampNumberText("-5", -2147483647 - 1, 2147483647), "-5");
  EXPECT_EQ(ClampNumberText("1e999", 0, 60), "");
}

}  // namespace
}  // namespace rirerazo::script
