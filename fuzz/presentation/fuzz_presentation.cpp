// Any bytes given as a presentation file must be read or refused with a RuntimeError:
// never a crash, a read out of bounds, a hang or an unbounded allocation.
#include <cstddef>
#include <cstdint>
#include <string>

#include "host/presentation/presentation_file.h"
#include "platform/runtime_error.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  try {
    rirerazo::host::ReadPresentation(std::string(reinterpret_cast<const char*>(data), size),
                                         "fuzz.pptx");
  } catch (const rirerazo::RuntimeError&) {
  }
  return 0;
}
