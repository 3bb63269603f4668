// The one entry point of the desktop module. The program and the module are built together
// from the same sources, so the call may carry C++ objects.
#pragma once

#include <iosfwd>
#include <string>

#include "host/options.h"

namespace rirerazo {

struct DesktopModuleCall {
  const host::Options* options;
  const std::string* program_file_name;
  int argc;
  char** argv;
  std::ostream* out;
  std::ostream* err;
};

// The module's file name, found by os::LoadModule, and its entry point's name.
inline constexpr const char* kDesktopModuleFile = "rirerazo-desktop.so";
inline constexpr const char* kDesktopModuleEntry = "rirerazo_run_desktop";
using DesktopModuleEntry = int (*)(const DesktopModuleCall*);

}  // namespace rirerazo
