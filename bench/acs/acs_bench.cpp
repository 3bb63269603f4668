// Opening a large character, decoding all its images, composing frames and decoding sounds.
// Needs the real characters beside the project (RIRERAZO_SHARED_DIR/characters); each
// benchmark reports an error and skips when the file is missing.
#include <benchmark/benchmark.h>

#include <fstream>
#include <string>
#include <vector>

#include "runtime/acs/acs_file.h"

namespace {

using rirerazo::acs::Character;

const std::string kMerlin = std::string(RIRERAZO_SHARED_DIR) + "/characters/Merlin.acs";

const std::vector<std::uint8_t>& MerlinBytes() {
  static const std::vector<std::uint8_t> bytes = [] {
    std::ifstream in(kMerlin, std::ios::binary);
    return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in), {});
  }();
  return bytes;
}

bool HaveMerlin(benchmark::State& state) {
  if (!MerlinBytes().empty()) return true;
  state.SkipWithError("Merlin.acs not found beside the project");
  return false;
}

// Parsing only: header, character info, directories, animations, image headers.
void BM_OpenFromBytes(benchmark::State& state) {
  if (!HaveMerlin(state)) return;
  for (auto _ : state) {
    std::vector<std::uint8_t> copy = MerlinBytes();
    benchmark::DoNotOptimize(rirerazo::acs::ReadCharacter(std::move(copy), "Merlin.acs"));
  }
}
BENCHMARK(BM_OpenFromBytes)->Unit(benchmark::kMillisecond);

// As the runtime loads a character: reading the 2 MB file (from the page cache) and parsing.
void BM_OpenFromPath(benchmark::State& state) {
  if (!HaveMerlin(state)) return;
  for (auto _ : state) benchmark::DoNotOptimize(rirerazo::acs::ReadCharacterFile(kMerlin));
}
BENCHMARK(BM_OpenFromPath)->Unit(benchmark::kMillisecond);

// Decompressing every image to palette indices; reports what the cache then holds.
void BM_DecodeAllImages(benchmark::State& state) {
  if (!HaveMerlin(state)) return;
  const Character merlin = rirerazo::acs::ReadCharacter(MerlinBytes(), "Merlin.acs");
  for (auto _ : state) {
    merlin.ForgetDecoded();
    for (std::size_t i = 0; i < merlin.images.size(); ++i) {
      benchmark::DoNotOptimize(merlin.ImagePixels(i).indices.data());
    }
  }
  state.counters["images"] = double(merlin.images.size());
  state.counters["decoded_MiB"] = double(merlin.DecodedBytes()) / (1024.0 * 1024.0);
}
BENCHMARK(BM_DecodeAllImages)->Unit(benchmark::kMillisecond);

// Composing every frame once its images are decoded (the per-frame cost while playing).
void BM_ComposeAllFrames(benchmark::State& state) {
  if (!HaveMerlin(state)) return;
  const Character merlin = rirerazo::acs::ReadCharacter(MerlinBytes(), "Merlin.acs");
  for (std::size_t i = 0; i < merlin.images.size(); ++i) (void)merlin.ImagePixels(i);
  std::size_t frames = 0;
  for (auto _ : state) {
    frames = 0;
    for (const auto& animation : merlin.animations) {
      for (const auto& frame : animation.frames) {
        benchmark::DoNotOptimize(merlin.ComposeFrame(frame).rgba.data());
        ++frames;
      }
    }
  }
  state.counters["frames"] = double(frames);
}
BENCHMARK(BM_ComposeAllFrames)->Unit(benchmark::kMillisecond);

void BM_DecodeAllSounds(benchmark::State& state) {
  if (!HaveMerlin(state)) return;
  const Character merlin = rirerazo::acs::ReadCharacter(MerlinBytes(), "Merlin.acs");
  for (auto _ : state) {
    for (std::size_t i = 0; i < merlin.sounds.size(); ++i) {
      benchmark::DoNotOptimize(merlin.DecodeSound(i).samples.data());
    }
  }
}
BENCHMARK(BM_DecodeAllSounds)->Unit(benchmark::kMillisecond);

// The older-generation ALIEN.ACS (a compound file): opening inflates every animation stream,
// so it costs more than a current file's open; its images are then stored raw.
const std::string kAlien = std::string(RIRERAZO_SHARED_DIR) + "/characters/ALIEN.ACS";

const std::vector<std::uint8_t>& AlienBytes() {
  static const std::vector<std::uint8_t> bytes = [] {
    std::ifstream in(kAlien, std::ios::binary);
    return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in), {});
  }();
  return bytes;
}

bool HaveAlien(benchmark::State& state) {
  if (!AlienBytes().empty()) return true;
  state.SkipWithError("ALIEN.ACS not found beside the project");
  return false;
}

void BM_AlienOpenFromBytes(benchmark::State& state) {
  if (!HaveAlien(state)) return;
  for (auto _ : state) {
    std::vector<std::uint8_t> copy = AlienBytes();
    benchmark::DoNotOptimize(rirerazo::acs::ReadCharacter(std::move(copy), "ALIEN.ACS"));
  }
}
BENCHMARK(BM_AlienOpenFromBytes)->Unit(benchmark::kMillisecond);

// Opening and decoding every image, as a fresh load that then shows every frame would.
void BM_AlienOpenAndDecodeAllImages(benchmark::State& state) {
  if (!HaveAlien(state)) return;
  std::size_t images = 0, decoded = 0;
  for (auto _ : state) {
    const Character alien = rirerazo::acs::ReadCharacterFile(kAlien);
    for (std::size_t i = 0; i < alien.images.size(); ++i) {
      benchmark::DoNotOptimize(alien.ImagePixels(i).indices.data());
    }
    images = alien.images.size();
    decoded = alien.DecodedBytes();
  }
  state.counters["images"] = double(images);
  state.counters["decoded_MiB"] = double(decoded) / (1024.0 * 1024.0);
}
BENCHMARK(BM_AlienOpenAndDecodeAllImages)->Unit(benchmark::kMillisecond);

// The same for Merlin, for comparison.
void BM_MerlinOpenAndDecodeAllImages(benchmark::State& state) {
  if (!HaveMerlin(state)) return;
  for (auto _ : state) {
    const Character merlin = rirerazo::acs::ReadCharacterFile(kMerlin);
    for (std::size_t i = 0; i < merlin.images.size(); ++i) {
      benchmark::DoNotOptimize(merlin.ImagePixels(i).indices.data());
    }
  }
}
BENCHMARK(BM_MerlinOpenAndDecodeAllImages)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
