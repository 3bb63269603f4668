// The first byte chooses the parser; the rest is its input. Every parser must end, never
// read out of bounds, and fail only with RuntimeError.
#include <cstddef>
#include <cstdint>
#include <string>

#include "core/interp/system_arguments.h"
#include "core/media/html_color.h"
#include "host/media_header.h"
#include "os/command_line.h"
#include "os/key_notation.h"
#include "platform/runtime_error.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const std::string input(reinterpret_cast<const char*>(data) + 1, size - 1);
  using rirerazo::host::MediaKind;
  switch (data[0] % 7) {
    case 0: rirerazo::host::MediaLengthMs(rirerazo::host::MediaKind::kWave, input); break;
    case 1: rirerazo::host::MediaLengthMs(rirerazo::host::MediaKind::kMidi, input); break;
    case 2: rirerazo::host::MediaLengthMs(rirerazo::host::MediaKind::kAvi, input); break;
    case 3:
      try {
        rirerazo::os::ParseKeyNotation(input);
      } catch (const rirerazo::RuntimeError&) {
      }
      break;
    case 4: rirerazo::os::SplitCommandLine(input); break;
    case 5: rirerazo::media::ParseColorText(input); break;
    case 6:
      rirerazo::ReadTextFileArguments(input);
      rirerazo::ShellExCommand(input, "RUN ");
      break;
  }
  return 0;
}
