// CEval on hostile input: the length limit, deep nesting, binary bytes, huge texts.
#include <gtest/gtest.h>

#include <string>

#include "core/expr/c_eval.h"
#include "core/expr/private/postfix.h"

namespace rirerazo {
namespace {

double Eval(const std::string& text) {
  return CEval().Evaluate(text);
}

std::int32_t RejectedAt(const std::string& text) {
  std::string postfix;
  return expr::ConvertToPostfix(text, postfix);
}

// "1+1+...+1" of exactly `length` characters (odd length).
std::string SumOfOnes(std::size_t length) {
  std::string text = "1";
  while (text.size() + 2 <= length) text += "+1";
  return text;
}

TEST(CEvalLimits, LongestExpressionIsAcceptedOneMoreIsRejected) {
  const std::string longest = SumOfOnes(expr::kMaxExpressionLength);
  ASSERT_EQ(longest.size(), 32767u);
  EXPECT_EQ(Eval(longest), 16384.0);
  EXPECT_EQ(RejectedAt(longest + " "), 32768);
  EXPECT_EQ(Eval(longest + " "), 0.0);
}

// The end-of-text position of a maximal text is 32,768, one past the 16-bit range.
TEST(CEvalLimits, MaximalUnclosedTextReportsPositionPastTheEnd) {
  EXPECT_EQ(RejectedAt(std::string(32767, '(')), 32768);
  EXPECT_EQ(RejectedAt(std::string(32766, '(') + "5"), 32768);
}

TEST(CEvalLimits, DeepParenthesesEvaluate) {
  const std::string deep = std::string(10000, '(') + "5" + std::string(10000, ')');
  EXPECT_EQ(Eval(deep), 5.0);
  EXPECT_EQ(Eval(std::string(10000, '(') + "5"), 0.0);
  std::string negations;
  for (int i = 0; i < 8000; ++i) negations += "-(";
  EXPECT_EQ(Eval(negations + "5" + std::string(8000, ')')), 5.0);
  EXPECT_EQ(Eval(negations + "5" + std::string(7999, ')')), 0.0);
}

TEST(CEvalLimits, TenMegabytesIsRejectedAtOnce) {
  EXPECT_EQ(Eval(std::string(10 << 20, '(')), 0.0);
  EXPECT_EQ(Eval(SumOfOnes(10 << 20)), 0.0);
}

TEST(CEvalLimits, ControlBytesSeparateAndOtherBytesReject) {
  EXPECT_EQ(Eval(std::string("2\0+\0"
                             "3",
                             5)),
            5.0);
  EXPECT_EQ(Eval("\x01"
                 "7\x1f"),
            7.0);
  std::string every_byte;
  for (int b = 255; b >= 0; --b) every_byte += static_cast<char>(b);
  EXPECT_EQ(Eval(every_byte), 0.0);
  EXPECT_EQ(RejectedAt("1+\x7f"), 3);
  EXPECT_EQ(RejectedAt("1+\xff"), 3);
}

TEST(CEvalLimits, LongNumberRunsAreRead) {
  EXPECT_EQ(Eval(std::string(30000, '0') + "42"), 42.0);
  EXPECT_DOUBLE_EQ(Eval("." + std::string(300, '0') + "1"), 1e-301);
  EXPECT_DOUBLE_EQ(Eval("1" + std::string(300, '0') + "/1" + std::string(299, '0')), 10.0);
}

}  // namespace
}  // namespace rirerazo
