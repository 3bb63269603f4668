// Infix to postfix conversion: a single left-to-right pass with a parse state, a count of
// open parentheses and an operator stack. Nothing recurses, so deep nesting costs only
// stack slots, and the length limit bounds those.
#include <string>

#include "core/expr/c_stack.h"
#include "core/expr/private/postfix.h"

namespace rirerazo::expr {

namespace {

// What the converter has just read, which decides what may come next.
enum class ParseState {
  kStart,          // nothing yet: operand, "(", unary sign
  kAfterOperand,   // a number or ")": binary operator, ")"
  kAfterOperator,  // a binary operator, or "(" after an operator or sign: operand, "(", sign
  kAfterUnary,     // a unary sign: operand, "("
};

constexpr std::int32_t kAccepted = 0;

bool IsDigitOrPoint(char c) {
  return (c >= '0' && c <= '9') || c == '.';
}
bool IsOperator(char c) {
  return c == '+' || c == '-' || c == '*' || c == '/' || c == '^';
}
// Space and every control character separate tokens and are otherwise ignored.
bool IsBlank(char c) {
  return static_cast<unsigned char>(c) <= 32;
}
// 1-based position of the character at index i.
std::int32_t At(std::size_t i) {
  return static_cast<std::int32_t>(i + 1);
}

class PostfixConverter {
 public:
  PostfixConverter(std::string_view text, std::string& postfix) : text_(text), postfix_(postfix) {}

  std::int32_t Run() {
    for (std::size_t i = 0; i < text_.size(); ++i) {
      const char c = text_[i];
      std::int32_t rejected = kAccepted;
      if (c == '(') {
        rejected = OpenParenthesis(i);
      } else if (c == ')') {
        rejected = CloseParenthesis(i);
      } else if (IsOperator(c)) {
        rejected = Operator(i);
      } else if (IsDigitOrPoint(c)) {
        rejected = Number(i);
      } else if (!IsBlank(c)) {
        rejected = At(i);  // letters, "_", ",", "%", bytes above 127, ...
      }
      if (rejected != kAccepted) return rejected;
    }
    return Finish();
  }

 private:
  // "(" opens a group where an operand may stand.
  std::int32_t OpenParenthesis(std::size_t i) {
    if (state_ == ParseState::kAfterOperand) return At(i);
    if (state_ == ParseState::kAfterUnary) state_ = ParseState::kAfterOperator;
    operators_.Push(std::string("("));
    ++depth_;
    return kAccepted;
  }

  // ")" closes the innermost group: it must follow an operand and match a "(".
  std::int32_t CloseParenthesis(std::size_t i) {
    if (state_ != ParseState::kAfterOperand) return At(i);
    if (depth_ == 0) return At(i);
    // depth_ > 0 promises a "(" below; an empty text means the stack ran dry.
    for (std::string token = PopOperator(); token != "(" && !token.empty(); token = PopOperator()) {
      Append(token);
    }
    --depth_;
    return kAccepted;
  }

  // After an operand a sign is a binary operator; elsewhere "-" is the unary minus, "+" is
  // dropped, and "*", "/", "^" or a second sign in a row are rejected.
  std::int32_t Operator(std::size_t i) {
    const std::string op(1, text_[i]);
    if (state_ == ParseState::kAfterOperand) {
      // Equal precedence pops too, so every binary operator groups from the left, "^" too.
      while (operators_.StackSize() > 0 &&
             OperatorPrecedence(TopOperator()) >= OperatorPrecedence(op)) {
        Append(PopOperator());
      }
      operators_.Push(op);
      state_ = ParseState::kAfterOperator;
      return kAccepted;
    }
    if (state_ == ParseState::kAfterUnary) return At(i);
    if (op == "-") {
      operators_.Push(std::string("(-)"));
    } else if (op != "+") {
      return At(i);
    }
    state_ = ParseState::kAfterUnary;
    return kAccepted;
  }

  // number = the longest run of digits and ".", with at most one "." and not "." alone.
  // Leaves i on the run's last character.
  std::int32_t Number(std::size_t& i) {
    if (state_ == ParseState::kAfterOperand) return At(i);
    std::size_t end = i;
    bool seen_point = false;
    for (; end < text_.size() && IsDigitOrPoint(text_[end]); ++end) {
      if (text_[end] != '.') continue;
      if (seen_point) return At(end);
      seen_point = true;
    }
    if (end - i == 1 && text_[i] == '.') return At(i);
    Append(text_.substr(i, end - i));
    state_ = ParseState::kAfterOperand;
    i = end - 1;
    return kAccepted;
  }

  // The text must end on an operand with every group closed; the stack then empties.
  std::int32_t Finish() {
    if (state_ == ParseState::kAfterOperator || state_ == ParseState::kAfterUnary) {
      return At(text_.size());
    }
    if (depth_ > 0) return At(text_.size());
    while (operators_.StackSize() > 0) Append(PopOperator());
    return kAccepted;
  }

  void Append(std::string_view token) {
    postfix_.append(token);
    postfix_.push_back(' ');
  }

  // The operator stack holds only texts; anything else reads as "" and is never pushed.
  std::string TopOperator() const { return AsText(operators_.GetPopValue()); }
  std::string PopOperator() { return AsText(operators_.Pop()); }
  static std::string AsText(CStack::Variant value) {
    std::string* text = std::get_if<std::string>(&value);
    return text != nullptr ? std::move(*text) : std::string();
  }

  std::string_view text_;
  std::string& postfix_;
  CStack operators_;
  ParseState state_ = ParseState::kStart;
  std::int32_t depth_ = 0;
};

}  // namespace

std::int16_t OperatorPrecedence(std::string_view token) {
  if (token == "+" || token == "-") return 1;
  if (token == "*" || token == "/") return 2;
  if (token == "^") return 3;
  if (token == "(-)") return 10;
  return 0;
}

std::int32_t ConvertToPostfix(std::string_view expression, std::string& postfix) {
  postfix.clear();
  if (expression.size() > kMaxExpressionLength) return At(kMaxExpressionLength);
  const std::int32_t rejected = PostfixConverter(expression, postfix).Run();
  if (rejected != kAccepted) postfix.clear();
  return rejected;
}

}  // namespace rirerazo::expr
