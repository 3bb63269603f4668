// Any bytes as a program file that may carry a script behind the marker. The marker is
// built at run time, so the fuzzer gets it through the first byte: an odd first byte puts
// the marker at the position the second byte names.
#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>

#include "core/app/carrier.h"
#include "platform/runtime_error.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string bytes(reinterpret_cast<const char*>(data), size);
  if (size >= 2 && (data[0] & 1)) {
    const std::size_t at = std::min<std::size_t>(data[1] * 97u, bytes.size());
    bytes.insert(at, rirerazo::CarrierMarker());
  }
  std::istringstream exe(bytes);
  try {
    rirerazo::ReadCarriedScript(exe);
  } catch (const rirerazo::RuntimeError&) {
  }
  return 0;
}
