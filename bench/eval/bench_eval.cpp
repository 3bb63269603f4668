// CEval::Evaluate on the expressions scripts produce once screen-position words and
// character references have become numbers, plus a rejected one and a fault.
#include <benchmark/benchmark.h>

#include <string>

#include "core/expr/c_eval.h"
#include "core/expr/c_parser.h"

namespace {

void Evaluate(benchmark::State& state, const char* expression) {
  const std::string text = expression;
  for (auto _ : state) {
    // One CEval per evaluation, as the interpreter does.
    benchmark::DoNotOptimize(rirerazo::CEval().Evaluate(text));
  }
}

BENCHMARK_CAPTURE(Evaluate, centre, "(1024-128)/2");
BENCHMARK_CAPTURE(Evaluate, right_edge, "768-128-40");
BENCHMARK_CAPTURE(Evaluate, scaled, "512+64*2");
BENCHMARK_CAPTURE(Evaluate, plain_number, "300");
BENCHMARK_CAPTURE(Evaluate, spaced_with_fraction, "(1024 - 136) / 2 + 0.5 * 17");
BENCHMARK_CAPTURE(Evaluate, nested, "((1024-128)/2-(768-128)/4)*-1");
BENCHMARK_CAPTURE(Evaluate, rejected_name, "Host.Left+10");
BENCHMARK_CAPTURE(Evaluate, division_by_zero, "100/0");

// The move statement's argument split that precedes three evaluations.
void SplitMoveArguments(benchmark::State& state) {
  rirerazo::CParser parser;
  for (auto _ : state) {
    parser.ParseIt("(1024-128)/2, 768-128-40, 500", ",");
    benchmark::DoNotOptimize(parser.Field(2));
  }
}
BENCHMARK(SplitMoveArguments);

}  // namespace

namespace {

// Hostile input: the deepest nesting the length limit allows, and a 10 MB argument.
void EvaluateHostile(benchmark::State& state, std::string text) {
  for (auto _ : state) benchmark::DoNotOptimize(rirerazo::CEval().Evaluate(text));
}

std::string Nested(int depth) {
  return std::string(depth, '(') + "5" + std::string(depth, ')');
}

BENCHMARK_CAPTURE(EvaluateHostile, parentheses_1000_deep, Nested(1000));
BENCHMARK_CAPTURE(EvaluateHostile, parentheses_16383_deep, Nested(16383));
BENCHMARK_CAPTURE(EvaluateHostile, ten_megabytes, std::string(10 << 20, '('));

}  // namespace
