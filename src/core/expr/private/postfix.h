// The two stages behind CEval::Evaluate, for CEval and its tests only.
//
// Postfix text: every token followed by exactly one space ("1 2 3 * + "); the empty
// expression gives the empty string. Tokens are numbers (runs of 0-9 and "." copied from
// the input), the binary operators + - * / ^ and the unary minus "(-)".
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace rirerazo::expr {

// Scan positions are 16-bit, so expressions are limited to 32,767 characters. A longer
// text is rejected as a whole, at position kMaxExpressionLength + 1, before any scanning;
// that keeps the cost of a huge input constant and bounds every stack and nesting depth.
inline constexpr std::size_t kMaxExpressionLength = 32767;

// Converts infix `expression` into postfix text in `postfix`. Returns 0 when accepted,
// otherwise the 1-based position at which it was rejected (the length plus one when the
// text ended too early); `postfix` is then empty. The position is 32-bit because the
// length plus one of a maximal expression is 32,768.
std::int32_t ConvertToPostfix(std::string_view expression, std::string& postfix);

// Binding strength of an operator token: + - 1, * / 2, ^ 3, (-) 10, anything else 0.
std::int16_t OperatorPrecedence(std::string_view token);

// Evaluates postfix text on a value stack and returns the top value, 0.0 for no tokens.
// Raises RuntimeError on an arithmetic fault (11 division by zero, 6 overflow, 5 no real
// result) and 13 on a token the converter never produces or a missing operand.
double EvaluatePostfix(std::string_view postfix);

}  // namespace rirerazo::expr
