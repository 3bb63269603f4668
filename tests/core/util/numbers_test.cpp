#include "core/util/numbers.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "support/error_matchers.h"

namespace rirerazo::util {
namespace {

TEST(Val, ReadsTheLeadingNumberAndStopsAtTheFirstMisfit) {
  EXPECT_EQ(Val("  -3.25xyz"), -3.25);
  EXPECT_EQ(Val(".5"), 0.5);
  EXPECT_EQ(Val("1.2.3"), 1.2);
  EXPECT_EQ(Val("1 2 3"), 123.0);  // blanks, tabs and line feeds are skipped everywhere
  EXPECT_EQ(Val("\t- 4\n2"), -42.0);
  EXPECT_EQ(Val("1\r2"), 1.0);  // a carriage return is not a blank
  EXPECT_EQ(ScanNumber("  42px").end, 4u);
  for (const char* none : {"", "abc", "-", ".", "--5", "&H", "&X1"}) EXPECT_EQ(Val(none), 0.0);
  EXPECT_EQ(Val(std::string("\0"
                            "5",
                            2)),
            0.0);
}

TEST(Val, Exponents) {
  EXPECT_EQ(Val("2.5E-1"), 0.25);
  EXPECT_EQ(Val("4D2"), 400.0);
  EXPECT_EQ(Val("1e+"), 1.0);  // an exponent without digits is not part of the number
  EXPECT_EQ(ScanNumber("1ex").end, 1u);
  EXPECT_EQ(Val("1e-400"), 0.0);
  EXPECT_EQ(Val("0e99999"), 0.0);
  EXPECT_RUNTIME_ERROR(Val("1e400"), 6);
  EXPECT_RUNTIME_ERROR(Val("1e99999999999999999999"), 6);
  EXPECT_RUNTIME_ERROR(Val(std::string(1024 * 1024, '9')), 6);
  EXPECT_EQ(Val("0." + std::string(1'000'000, '0') + "1"), 0.0);
}

TEST(Val, HexAndOctalFollowTheSixteenAndThirtyTwoBitRule) {
  EXPECT_EQ(Val("&H409"), 1033.0);
  EXPECT_EQ(Val("&H7FFF"), 32767.0);
  EXPECT_EQ(Val("&H8000"), -32768.0);
  EXPECT_EQ(Val("&hFFFF"), -1.0);
  EXPECT_EQ(Val("&H10000"), 65536.0);
  EXPECT_EQ(Val("&HFFFFFFFF"), -1.0);
  EXPECT_EQ(Val("&O17"), 15.0);
  EXPECT_EQ(Val("&H1G"), 1.0);
  EXPECT_RUNTIME_ERROR(Val("&H100000000"), 6);
}

TEST(RoundHalfEven, HalvesGoToTheEvenNeighbour) {
  EXPECT_EQ(RoundHalfEven(0.5), 0.0);
  EXPECT_EQ(RoundHalfEven(1.5), 2.0);
  EXPECT_EQ(RoundHalfEven(2.5), 2.0);
  EXPECT_EQ(RoundHalfEven(-1.5), -2.0);
  EXPECT_EQ(RoundHalfEven(-2.5), -2.0);
  EXPECT_EQ(RoundHalfEven(2.5000000001), 3.0);
  EXPECT_EQ(RoundHalfEven(4503599627370497.0), 4503599627370497.0);
}

TEST(RoundToInteger, EdgesOfTheSixteenAndThirtyTwoBitRanges) {
  EXPECT_EQ(RoundToInt16(32767.4), 32767);
  EXPECT_EQ(RoundToInt16(-32768.5), -32768);       // the even neighbour is inside
  EXPECT_RUNTIME_ERROR(RoundToInt16(32767.5), 6);  // rounds to 32768
  EXPECT_RUNTIME_ERROR(RoundToInt16(-32769.0), 6);
  EXPECT_RUNTIME_ERROR(RoundToInt16(std::nan("")), 6);
  EXPECT_EQ(RoundToInt32(2147483647.0), 2147483647);
  EXPECT_EQ(RoundToInt32(-2147483648.5), -2147483647 - 1);
  EXPECT_EQ(RoundToInt32(2147483646.5), 2147483646);
  EXPECT_RUNTIME_ERROR(RoundToInt32(2147483647.5), 6);
  EXPECT_RUNTIME_ERROR(RoundToInt32(2147483648.0), 6);
  EXPECT_RUNTIME_ERROR(RoundToInt32(INFINITY), 6);
}

TEST(TextToNumber, AcceptsExactlyOneNumberWithBlanksAround) {
  EXPECT_EQ(TextToDouble("\t-1.5e2 "), -150.0);
  EXPECT_EQ(TextToInt32("&H409"), 1033);
  EXPECT_EQ(TextToInt32("2.5"), 2);
  EXPECT_EQ(TextToInt32("3.5"), 4);
  EXPECT_EQ(TextToInt16("32767"), 32767);
  for (const char* text : {"", "   ", "abc", "12abc", "1 2", "1e", "+", ".", "&H", "5,0", "--1"}) {
    EXPECT_RUNTIME_ERROR(TextToDouble(text), 13);
  }
  EXPECT_RUNTIME_ERROR(TextToInt32(std::string("7\0", 2)), 13);
  EXPECT_RUNTIME_ERROR(TextToInt16("32768"), 6);
  EXPECT_RUNTIME_ERROR(TextToInt32("2147483648"), 6);
  EXPECT_RUNTIME_ERROR(TextToDouble("1e309"), 6);
}

}  // namespace
}  // namespace rirerazo::util
