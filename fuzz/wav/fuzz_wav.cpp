// Any bytes as a sound of a character file: it decodes or raises the reader's error.
#include <cstddef>
#include <cstdint>
#include <exception>
#include <span>

#include "runtime/acs/acs_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  try {
    rirerazo::acs::DecodeWav(std::span<const std::uint8_t>(data, size), "fuzz.wav");
  } catch (const std::exception&) {
  }
  return 0;
}
