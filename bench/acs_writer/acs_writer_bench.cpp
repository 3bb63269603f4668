// Writing a large character: compressing all of Merlin's images with our encoder and writing
// the whole file, from a model whose images are already decoded (as the authoring tool has
// them after reading PNGs). Needs the real characters beside the project; each benchmark
// reports an error and skips when the file is missing.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>

#include "runtime/acs/acs_file.h"
#include "runtime/acs/writer/acs_writer.h"
#include "runtime/acs/writer/image_encoder.h"

namespace {

using namespace rirerazo::acs;

const std::string kMerlin = std::string(RIRERAZO_SHARED_DIR) + "/characters/Merlin.acs";

// Merlin with every image turned into in-memory indices, so writing measures encoding.
const Character* DecodedMerlin() {
  static const Character* merlin = []() -> Character* {
    if (!std::filesystem::exists(kMerlin)) return nullptr;
    auto* c = new Character(ReadCharacterFile(kMerlin));
    for (std::size_t i = 0; i < c->images.size(); ++i) {
      c->images[i].pixels = c->ImagePixels(i);
      c->images[i].region = c->ImageRegion(i);
    }
    c->ForgetDecoded();
    return c;
  }();
  return merlin;
}

void BM_CompressAllImages(benchmark::State& state) {
  const Character* merlin = DecodedMerlin();
  if (!merlin) return state.SkipWithError("Merlin.acs not found beside the project");
  std::size_t in_bytes = 0, out_bytes = 0;
  for (auto _ : state) {
    in_bytes = out_bytes = 0;
    for (const ImageEntry& image : merlin->images) {
      const auto& pixels = std::get<IndexedPixels>(image.pixels).indices;
      out_bytes += CompressImageData(pixels).size();
      in_bytes += pixels.size();
    }
  }
  state.counters["input_MiB"] = double(in_bytes) / (1 << 20);
  state.counters["output_MiB"] = double(out_bytes) / (1 << 20);
  state.SetBytesProcessed(std::int64_t(state.iterations() * in_bytes));
}
BENCHMARK(BM_CompressAllImages)->Unit(benchmark::kMillisecond);

void BM_WriteWholeCharacter(benchmark::State& state) {
  const Character* merlin = DecodedMerlin();
  if (!merlin) return state.SkipWithError("Merlin.acs not found beside the project");
  std::size_t size = 0;
  for (auto _ : state) size = WriteCharacter(*merlin).size();
  state.counters["file_bytes"] = double(size);
}
BENCHMARK(BM_WriteWholeCharacter)->Unit(benchmark::kMillisecond);

void BM_WriteWholeCharacterRaw(benchmark::State& state) {
  const Character* merlin = DecodedMerlin();
  if (!merlin) return state.SkipWithError("Merlin.acs not found beside the project");
  std::size_t size = 0;
  for (auto _ : state) size = WriteCharacter(*merlin, {Storage::kRaw, Storage::kRaw}).size();
  state.counters["file_bytes"] = double(size);
}
BENCHMARK(BM_WriteWholeCharacterRaw)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
