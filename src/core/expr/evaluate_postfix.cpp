// Postfix evaluation on a value stack. Every fault raises a RuntimeError that
// CEval::Evaluate turns into 0.0, so a half-computed value never escapes.
#include <cmath>

#include "core/expr/c_stack.h"
#include "core/expr/private/decimal_token.h"
#include "core/expr/private/postfix.h"
#include "platform/runtime_error.h"

namespace rirerazo::expr {

namespace {

// The classic number of the division-by-zero fault.
constexpr long kDivisionByZero = 11;

[[noreturn]] void FailTypeMismatch() {
  throw RuntimeError{err::kTypeMismatch, "Type mismatch"};
}

// A missing operand or a text on the value stack cannot happen with the converter's output;
// it is a fault, not a silent zero.
double PopNumber(CStack& values) {
  const CStack::Variant value = values.Pop();
  if (const double* number = std::get_if<double>(&value)) return *number;
  FailTypeMismatch();
}

// Infinities and NaN never reach the stack: a result outside the double range is an
// overflow, one without a real value (a negative number to a fractional power) an invalid
// call.
double Checked(double result) {
  if (std::isnan(result))
    throw RuntimeError{err::kInvalidProcedureCall, "Invalid procedure call or argument"};
  if (std::isinf(result)) throw RuntimeError{err::kOverflow, "Overflow"};
  return result;
}

double ApplyBinary(char op, double left, double right) {
  switch (op) {
    case '+':
      return Checked(left + right);
    case '-':
      return Checked(left - right);
    case '*':
      return Checked(left * right);
    case '/':
      // Tested before dividing, so 1/0 and 0/0 fail without relying on IEEE infinities.
      if (right == 0.0) throw RuntimeError{kDivisionByZero, "Division by zero"};
      return Checked(left / right);
    case '^':
      return Checked(std::pow(left, right));
    default:
      FailTypeMismatch();
  }
}

bool IsBinaryOperator(std::string_view token) {
  return token.size() == 1 && std::string_view("+-*/^").find(token[0]) != std::string_view::npos;
}

void ApplyToken(std::string_view token, CStack& values) {
  if (IsDecimalToken(token)) {
    values.Push(DecimalTokenToDouble(token));
  } else if (token == "(-)") {
    values.Push(-PopNumber(values));
  } else if (IsBinaryOperator(token)) {
    const double right = PopNumber(values);
    const double left = PopNumber(values);
    values.Push(ApplyBinary(token[0], left, right));
  } else {
    FailTypeMismatch();
  }
}

}  // namespace

double EvaluatePostfix(std::string_view postfix) {
  CStack values;
  // Tokens are separated by single spaces; the empty piece after the final space (and any
  // other empty piece) carries no token.
  std::size_t start = 0;
  while (start < postfix.size()) {
    std::size_t end = postfix.find(' ', start);
    if (end == std::string_view::npos) end = postfix.size();
    if (end > start) ApplyToken(postfix.substr(start, end - start), values);
    start = end + 1;
  }
  if (values.StackSize() == 0) return 0.0;
  return PopNumber(values);
}

}  // namespace rirerazo::expr
