#include "core/expr/c_eval.h"

#include <exception>
#include <string>

#include "core/expr/private/postfix.h"

namespace rirerazo {

double CEval::Evaluate(std::string_view sExpression) const noexcept {
  try {
    std::string postfix;
    if (expr::ConvertToPostfix(sExpression, postfix) != 0) return 0.0;
    return expr::EvaluatePostfix(postfix);
  } catch (const std::exception&) {
    // Arithmetic faults (RuntimeError) and exhausted memory alike: the caller goes on
    // with 0.0 and is never told.
    return 0.0;
  }
}

}  // namespace rirerazo
