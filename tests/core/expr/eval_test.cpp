// CEval: the values the interpreter relies on, the forms it must reject, arithmetic faults,
// and the postfix text between the two stages.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "core/expr/c_eval.h"
#include "core/expr/private/postfix.h"
#include "platform/runtime_error.h"

namespace rirerazo {
namespace {

using Case = std::pair<std::string, double>;

double Eval(const std::string& text) {
  return CEval().Evaluate(text);
}

std::int32_t RejectedAt(const std::string& text) {
  std::string postfix;
  return expr::ConvertToPostfix(text, postfix);
}

std::string Postfix(const std::string& text) {
  std::string postfix;
  EXPECT_EQ(expr::ConvertToPostfix(text, postfix), 0) << text;
  return postfix;
}

TEST(CEval, PrecedenceAndGrouping) {
  const std::vector<Case> cases = {
      {"1+2*3", 7},   {"(1+2)*3", 9}, {"8-3-2", 3},     {"8/4/2", 1},  {"2^3^2", 64},
      {"-2^2", 4},    {"2^-1", 0.5},  {"2*-3", -6},     {"5--3", 8},   {"-(2+3)", -5},
      {"2*-3^2", 18}, {"-2*3", -6},   {"10-2*3^2", -8}, {"2^3*2", 16}, {"-(2)^2", 4},
  };
  for (const auto& [text, value] : cases) EXPECT_DOUBLE_EQ(Eval(text), value) << text;
}

TEST(CEval, AcceptedOperandForms) {
  const std::vector<Case> cases = {
      {"", 0},        {"   ", 0},   {"(5)", 5}, {"((5))", 5},     {"+5", 5},
      {"-5", -5},     {"-(-5)", 5}, {"1.", 1},  {".25", 0.25},    {"2\t+\r\n3", 5},
      {" 2 + 3 ", 5}, {"+(5)", 5},  {"007", 7}, {"12.75", 12.75},
  };
  for (const auto& [text, value] : cases) EXPECT_DOUBLE_EQ(Eval(text), value) << text;
}

TEST(CEval, CoordinateExpressionsAfterSubstitution) {
  EXPECT_DOUBLE_EQ(Eval("(1024-128)/2"), 448);
  EXPECT_DOUBLE_EQ(Eval("768-128-40"), 600);
  EXPECT_DOUBLE_EQ(Eval("512+64*2"), 640);
  EXPECT_DOUBLE_EQ(Eval("(768 - 128) / 3"), 640.0 / 3);
}

// Rejections are checked at the converter, so a rejected form cannot pass by evaluating
// to zero; the positions are 1-based, and the length plus one when the text ends early.
TEST(CEval, RejectedFormsAndPositions) {
  const std::vector<std::pair<std::string, std::int32_t>> cases = {
      {"()", 2},   {"(5", 3},    {"5)", 2},  {"--5", 2}, {"-+5", 2},        {"+-5", 2},
      {"*5", 1},   {"1.2.3", 4}, {".", 1},   {"2 3", 3}, {"2(3)", 2},       {"Left+10", 1},
      {"10%", 3},  {"1,5", 2},   {"3-", 3},  {"3*", 3},  {"(", 2},          {"-", 2},
      {"5 .5", 3}, {"((5)", 5},  {"2..", 3}, {"^2", 1},  {"1+\xC3\xA9", 3},
  };
  for (const auto& [text, position] : cases) {
    EXPECT_EQ(RejectedAt(text), position) << text;
    EXPECT_EQ(Eval(text), 0.0) << text;
  }
}

TEST(CEval, ArithmeticFaultsGiveZero) {
  const std::string huge_literal = "1" + std::string(400, '0');
  for (const std::string text : {"1/0", "0/0", "10^400", "(0-8)^0.5", "0^-1", "1/0*0", "5+1/0",
                                 "10^400-10^400", "10^200*10^200/10^300", huge_literal.c_str()}) {
    EXPECT_EQ(RejectedAt(text), 0) << text;
    EXPECT_EQ(Eval(text), 0.0) << text;
  }
  // Too small to represent is zero, not a fault.
  EXPECT_EQ(Eval("0." + std::string(400, '0') + "1+2"), 2.0);
  EXPECT_DOUBLE_EQ(Eval("(0-8)^3"), -512.0);
  EXPECT_EQ(Eval("-8^0.5"), 0.0);
}

TEST(CEval, PostfixText) {
  EXPECT_EQ(Postfix("1 + 2*3"), "1 2 3 * + ");
  EXPECT_EQ(Postfix("2^3^2"), "2 3 ^ 2 ^ ");
  EXPECT_EQ(Postfix("-2^2"), "2 (-) 2 ^ ");
  EXPECT_EQ(Postfix("5--3"), "5 3 (-) - ");
  EXPECT_EQ(Postfix("-(2+3)"), "2 3 + (-) ");
  EXPECT_EQ(Postfix("+5."), "5. ");
  EXPECT_EQ(Postfix("  "), "");
}

// Postfix text from elsewhere than the converter: a missing operand or an unknown token is
// a fault rather than a silent zero operand.
TEST(CEval, MalformedPostfixIsAFault) {
  for (const char* postfix : {"1 + ", "(-) ", "1 x + ", "1 2 % ", ". "}) {
    EXPECT_THROW(expr::EvaluatePostfix(postfix), RuntimeError) << postfix;
  }
  EXPECT_EQ(expr::EvaluatePostfix("1  2 +"), 3.0);
}

}  // namespace
}  // namespace rirerazo
