// Fuzzes CEval against an independent evaluator and CParser against a plain copying split.
// Any disagreement, sanitizer report or crash stops the run.
//
// Input: the whole input is an expression. For the parser, the first byte modulo 4 gives
// the delimiter's length (0 = empty), the next bytes the delimiter, the rest the text.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "core/expr/c_eval.h"
#include "core/expr/c_parser.h"
#include "core/expr/private/postfix.h"
#include "reference_eval.h"

namespace {

// The reference recurses once per nesting level; longer inputs are checked for crashes only.
constexpr std::size_t kMaxDifferentialLength = 4096;

[[noreturn]] void Fail(const char* what, std::string_view input) {
  std::fprintf(stderr, "fuzz_eval: %s (input of %zu bytes)\n", what, input.size());
  std::abort();
}

bool SameDouble(double a, double b) {
  return std::memcmp(&a, &b, sizeof a) == 0;
}

void CheckEvaluator(std::string_view text) {
  std::string postfix;
  const std::int32_t rejected = rirerazo::expr::ConvertToPostfix(text, postfix);
  const double value = rirerazo::CEval().Evaluate(text);
  if (rejected < 0 || static_cast<std::size_t>(rejected) > text.size() + 1)
    Fail("position out of range", text);
  if (rejected != 0 && (!postfix.empty() || value != 0.0)) Fail("rejected text left output", text);
  if (!postfix.empty() && postfix.back() != ' ') Fail("postfix without final space", text);
  if (text.size() > kMaxDifferentialLength) return;

  const fuzz::ReferenceResult reference = fuzz::ReferenceEvaluate(text);
  if (reference.accepted != (rejected == 0)) Fail("acceptance differs from the reference", text);
  const double expected = reference.accepted && !reference.fault ? reference.value : 0.0;
  if (!SameDouble(value, expected)) Fail("value differs from the reference", text);
}

std::string TrimSpaces(const std::string& text) {
  const std::size_t first = text.find_first_not_of(' ');
  if (first == std::string::npos) return {};
  return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

// The splitting rules done the obvious way, copying the remainder at every step.
std::vector<std::string> CopyingSplit(std::string text, const std::string& delimiter) {
  std::vector<std::string> fields;
  text = TrimSpaces(text);
  if (text.empty()) return fields;
  if (delimiter.empty()) return {text};
  for (;;) {
    const std::size_t found = text.find(delimiter);
    if (found == std::string::npos) {
      if (!text.empty()) fields.push_back(text);
      return fields;
    }
    fields.push_back(TrimSpaces(text.substr(0, found)));
    text = TrimSpaces(text.substr(found + delimiter.size()));
  }
}

void CheckParser(std::string_view input) {
  if (input.empty() || input.size() > kMaxDifferentialLength) return;
  const std::size_t delimiter_length =
      std::min<std::size_t>(static_cast<unsigned char>(input[0]) % 4, input.size() - 1);
  const std::string delimiter(input.substr(1, delimiter_length));
  const std::string text(input.substr(1 + delimiter_length));
  rirerazo::CParser parser;
  parser.ParseIt(text, delimiter);
  const std::vector<std::string> expected = CopyingSplit(text, delimiter);
  if (parser.FieldCount() != static_cast<std::int32_t>(expected.size()))
    Fail("field count differs", input);
  for (std::int32_t i = 1; i <= parser.FieldCount(); ++i) {
    if (parser.Field(i) != expected[static_cast<std::size_t>(i) - 1]) Fail("field differs", input);
  }
  if (!parser.Field(0).empty() || !parser.Field(parser.FieldCount() + 1).empty())
    Fail("field outside the range", input);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  CheckEvaluator(input);
  CheckParser(input);
  return 0;
}
