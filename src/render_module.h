// The one entry point of the render module. The program and the module are built together
// from the same sources, so the call may carry C++ objects.
#pragma once

#include <iosfwd>
#include <string>

#include "host/options.h"

namespace rirerazo {

struct RenderModuleCall {
  const host::Options* options;
  const std::string* program_file_name;
  int argc;
  char** argv;
  std::ostream* out;
  std::ostream* err;
  bool err_is_terminal;
};

// The module's file name, found by os::LoadModule, and its entry point's name.
inline constexpr const char* kRenderModuleFile = "rirerazo-render.so";
inline constexpr const char* kRenderModuleEntry = "rirerazo_run_render";
using RenderModuleEntry = int (*)(const RenderModuleCall*);

}  // namespace rirerazo
