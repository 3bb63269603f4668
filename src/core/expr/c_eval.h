// CEval turns a short arithmetic expression into a double. The interpreter hands it a
// statement argument after screen-position words and character references have become
// numbers, e.g. "(1024-128)/2".
//
// Grammar: numbers (digits with at most one "."; "5." and ".5" are fine), the binary
// operators + - * / ^, unary minus and plus, and parentheses. Precedence: ^ above * /
// above + -, every binary operator grouping from the left (2^3^2 is 64), and unary minus
// binding tighter than all of them (-2^2 is 4). Space and control characters separate
// tokens but two numbers in a row are still rejected. No names, functions, "%" or ",".
//
// Evaluate never fails towards its caller: a rejected expression and an arithmetic fault
// (division by zero, a result beyond the double range, a power with no real value) both
// give 0.0, indistinguishable from a real zero. Expressions longer than 32,767 characters
// are rejected as a whole without being scanned, so a multi-megabyte argument costs
// nothing; nesting depth is bounded by that length and nothing recurses.
//
// Stateless: create one per evaluation or share one; it is safe to use from any thread.
#pragma once

#include <string_view>

namespace rirerazo {

class CEval {
 public:
  // The value of `sExpression`, or 0.0 when it is rejected or cannot be computed.
  double Evaluate(std::string_view sExpression) const noexcept;
};

}  // namespace rirerazo
