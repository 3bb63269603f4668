// How long the start of a packed program spends looking for its script, and how long the
// simulated presentation application takes to read a large presentation.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "core/app/carrier.h"
#include "host/presentation/presentation_file.h"
#include "support/presentation_fixtures.h"

namespace {

// A program of `size` bytes without NUL or marker.
std::string Program(std::size_t size) {
  std::string bytes(size, '\0');
  for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<char>('a' + i % 23);
  return bytes;
}

// A program file in the temporary folder (read from the page cache, as at a real start),
// removed when the benchmark ends.
class ProgramFile {
 public:
  explicit ProgramFile(const std::string& bytes)
      : path_(std::filesystem::temp_directory_path() / "rirerazo-carriers-bench.bin") {
    std::ofstream(path_, std::ios::binary) << bytes;
  }
  ~ProgramFile() { std::filesystem::remove(path_); }
  std::optional<std::string> Search() const {
    std::ifstream exe(path_, std::ios::binary);
    return rirerazo::ReadCarriedScript(exe);
  }

 private:
  std::filesystem::path path_;
};

// Searching a whole program that carries nothing: the cost of every renamed copy's start.
void BM_SearchProgramWithoutScript(benchmark::State& state) {
  const std::size_t size = static_cast<std::size_t>(state.range(0)) << 20;
  ProgramFile program(Program(size));
  for (auto _ : state) benchmark::DoNotOptimize(program.Search());
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(size));
}
BENCHMARK(BM_SearchProgramWithoutScript)->Arg(8)->Arg(32)->Unit(benchmark::kMillisecond);

// An 8 MB program carrying a script of the given size in KB, padded with 1 MB of NUL bytes.
void BM_ReadCarriedScript(benchmark::State& state) {
  std::string script = "[VORN Script]\r\nVersion=1\r\n[Script]\r\n";
  while (script.size() < static_cast<std::size_t>(state.range(0)) << 10) {
    script += "Host.Speak A line of the carried script.\r\n";
  }
  ProgramFile program(Program(8 << 20) + rirerazo::CarrierMarker() + script +
                      std::string(1 << 20, '\0'));
  for (auto _ : state) benchmark::DoNotOptimize(program.Search());
}
BENCHMARK(BM_ReadCarriedScript)->Arg(16)->Arg(1024)->Unit(benchmark::kMillisecond);

void BM_ReadPresentation(benchmark::State& state) {
  std::vector<rirerazo::testing::FixtureSlide> slides(static_cast<std::size_t>(state.range(0)),
                                                      {3000, false});
  const std::string pptx = rirerazo::testing::OpenXmlPresentation(slides);
  const std::string odp = rirerazo::testing::OpenDocumentPresentation(slides);
  for (auto _ : state) {
    benchmark::DoNotOptimize(rirerazo::headless::ReadPresentation(pptx, "deck.pptx"));
    benchmark::DoNotOptimize(rirerazo::headless::ReadPresentation(odp, "deck.odp"));
  }
}
BENCHMARK(BM_ReadPresentation)->Arg(500)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
