// Any bytes as a user-input script: it parses or raises InputScriptError, nothing else.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "headless/user_input.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  try {
    rirerazo::headless::ParseUserInput(std::string_view(reinterpret_cast<const char*>(data), size));
  } catch (const rirerazo::headless::InputScriptError&) {
  }
  return 0;
}
