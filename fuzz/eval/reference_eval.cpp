// Grammar (all binary operators group from the left; a sign applies to one primary):
//   expr    := term { ("+" | "-") term }
//   term    := power { ("*" | "/") power }
//   power   := unary { "^" unary }
//   unary   := [ "+" | "-" ] primary
//   primary := number | "(" expr ")"
// Bytes 0-32 separate tokens; a number is a run of digits and "." with one "." at most.
#include "reference_eval.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <string>
#include <vector>

namespace fuzz {
namespace {

struct Token {
  char kind;  // 'n' number, or the operator / parenthesis character itself
  double value;
};

bool Tokenize(std::string_view text, std::vector<Token>& tokens, bool& fault) {
  for (std::size_t i = 0; i < text.size();) {
    const unsigned char c = static_cast<unsigned char>(text[i]);
    if (c <= 32) {
      ++i;
    } else if (std::string_view("+-*/^()").find(static_cast<char>(c)) != std::string_view::npos) {
      tokens.push_back({static_cast<char>(c), 0.0});
      ++i;
    } else if ((c >= '0' && c <= '9') || c == '.') {
      std::size_t end = i;
      int points = 0, digits = 0;
      for (; end < text.size() && ((text[end] >= '0' && text[end] <= '9') || text[end] == '.');
           ++end) {
        (text[end] == '.' ? points : digits)++;
      }
      if (points > 1 || digits == 0) return false;
      const std::string run(text.substr(i, end - i));
      const double value = std::strtod(run.c_str(), nullptr);
      if (!std::isfinite(value)) fault = true;
      tokens.push_back({'n', value});
      i = end;
    } else {
      return false;
    }
  }
  return true;
}

class Parser {
 public:
  explicit Parser(const std::vector<Token>& tokens) : tokens_(tokens) {}

  bool ParseAll(double& value) { return Expr(value) && pos_ == tokens_.size(); }
  bool fault = false;

 private:
  bool Expr(double& value) {
    if (!Term(value)) return false;
    while (Peek() == '+' || Peek() == '-') {
      const char op = tokens_[pos_++].kind;
      double right;
      if (!Term(right)) return false;
      value = Check(op == '+' ? value + right : value - right);
    }
    return true;
  }
  bool Term(double& value) {
    if (!Power(value)) return false;
    while (Peek() == '*' || Peek() == '/') {
      const char op = tokens_[pos_++].kind;
      double right;
      if (!Power(right)) return false;
      if (op == '/' && right == 0.0) fault = true;
      value = op == '*' ? Check(value * right) : (right == 0.0 ? 0.0 : Check(value / right));
    }
    return true;
  }
  bool Power(double& value) {
    if (!Unary(value)) return false;
    while (Peek() == '^') {
      ++pos_;
      double right;
      if (!Unary(right)) return false;
      value = Check(std::pow(value, right));
    }
    return true;
  }
  bool Unary(double& value) {
    const char sign = Peek();
    if (sign == '+' || sign == '-') ++pos_;
    if (!Primary(value)) return false;
    if (sign == '-') value = -value;
    return true;
  }
  bool Primary(double& value) {
    if (Peek() == 'n') {
      value = tokens_[pos_++].value;
      return true;
    }
    if (Peek() != '(') return false;
    ++pos_;
    if (!Expr(value) || Peek() != ')') return false;
    ++pos_;
    return true;
  }

  char Peek() const { return pos_ < tokens_.size() ? tokens_[pos_].kind : '\0'; }
  double Check(double value) {
    if (!std::isfinite(value)) fault = true;
    return value;
  }

  const std::vector<Token>& tokens_;
  std::size_t pos_ = 0;
};

}  // namespace

ReferenceResult ReferenceEvaluate(std::string_view text) {
  ReferenceResult result;
  std::vector<Token> tokens;
  bool literal_fault = false;
  if (!Tokenize(text, tokens, literal_fault)) return result;
  if (tokens.empty()) {
    result.accepted = true;
    return result;
  }
  Parser parser(tokens);
  result.accepted = parser.ParseAll(result.value);
  result.fault = literal_fault || parser.fault;
  return result;
}

}  // namespace fuzz
