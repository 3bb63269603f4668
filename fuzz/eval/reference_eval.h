// A second, independent evaluator of the same expression language, written as a
// recursive-descent parser over a token list, for differential fuzzing of CEval.
#pragma once

#include <string_view>

namespace fuzz {

struct ReferenceResult {
  bool accepted = false;  // the text is a well-formed expression
  bool fault = false;     // well-formed, but an arithmetic fault occurred
  double value = 0.0;     // meaningful when accepted and not faulted
};

// Recursion depth grows with the nesting of the text; callers keep inputs short.
ReferenceResult ReferenceEvaluate(std::string_view text);

}  // namespace fuzz
