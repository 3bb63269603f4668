// A small seeded generator (SplitMix64) with the same sequence on every platform and
// compiler, so a run with a given seed branches the same way everywhere.
#pragma once

#include <cstdint>
#include <string_view>

namespace rirerazo::runtime {

class Random {
 public:
  explicit Random(std::uint64_t seed = 0) : state_(seed) {}

  std::uint64_t Next() {
    std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ULL);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    return z ^ (z >> 31);
  }

  // Uniform in [0, bound); bound > 0. The modulo bias is negligible for the small bounds used.
  std::uint32_t Below(std::uint32_t bound) { return std::uint32_t(Next() % bound); }

  // Uniform in 1..100, as frame branching draws it.
  int Percent() { return int(Below(100)) + 1; }

 private:
  std::uint64_t state_;
};

// A seed for one character: the run's seed mixed with the character's id (letter case
// ignored), so each character's choices do not depend on what the others do.
inline std::uint64_t CharacterSeed(std::uint64_t run_seed, std::string_view id) {
  std::uint64_t hash = 0xCBF29CE484222325ULL;  // FNV-1a
  for (char c : id) {
    if (c >= 'a' && c <= 'z') c = char(c - 'a' + 'A');
    hash = (hash ^ std::uint8_t(c)) * 0x100000001B3ULL;
  }
  return run_seed ^ hash;
}

}  // namespace rirerazo::runtime
