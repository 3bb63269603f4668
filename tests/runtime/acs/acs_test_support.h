// Helpers for the character-file tests: where the real characters are, loading them (tests
// skip when the folder is absent), byte patching and a small checksum.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "runtime/acs/acs_file.h"

namespace rirerazo::acs::testing {

inline std::filesystem::path CharactersDir() {
  return std::filesystem::path(RIRERAZO_SHARED_DIR) / "characters";
}

// The bytes of a real character file, or empty when it is not available.
inline std::vector<std::uint8_t> RealFileBytes(const std::string& name) {
  std::ifstream in(CharactersDir() / name, std::ios::binary);
  if (!in) return {};
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

#define ACS_LOAD_BYTES_OR_SKIP(var, name)                                              \
  const std::vector<std::uint8_t> var = ::rirerazo::acs::testing::RealFileBytes(name); \
  if (var.empty())                                                                     \
  GTEST_SKIP() << "real character " << (name) << " not found in "                      \
               << ::rirerazo::acs::testing::CharactersDir()

inline std::uint32_t GetU32(const std::vector<std::uint8_t>& bytes, std::size_t at) {
  return std::uint32_t(bytes.at(at)) | (std::uint32_t(bytes.at(at + 1)) << 8) |
         (std::uint32_t(bytes.at(at + 2)) << 16) | (std::uint32_t(bytes.at(at + 3)) << 24);
}

inline void PutU16(std::vector<std::uint8_t>& bytes, std::size_t at, std::uint16_t value) {
  bytes.at(at) = std::uint8_t(value);
  bytes.at(at + 1) = std::uint8_t(value >> 8);
}

inline void PutU32(std::vector<std::uint8_t>& bytes, std::size_t at, std::uint32_t value) {
  PutU16(bytes, at, std::uint16_t(value));
  PutU16(bytes, at + 2, std::uint16_t(value >> 16));
}

// FNV-1a over the bytes of a vector of trivially copyable values.
template <class T>
std::uint64_t Fnv1a(const std::vector<T>& values) {
  std::uint64_t hash = 14695981039346656037ull;
  const auto* p = reinterpret_cast<const unsigned char*>(values.data());
  for (std::size_t i = 0; i < values.size() * sizeof(T); ++i) {
    hash = (hash ^ p[i]) * 1099511628211ull;
  }
  return hash;
}

}  // namespace rirerazo::acs::testing
