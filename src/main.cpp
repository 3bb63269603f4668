// rirerazo: plays character scripts. Parses the command line, picks a host and runs it.
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "desktop_module.h"
#include "headless/headless_host.h"
#include "host/options.h"
#include "host/carrier_packer.h"
#include "os/module_loader.h"
#include "version.h"

namespace {

using rirerazo::host::Options;

// The program's file name without its folder, as start-up reads it.
std::string ProgramFileName(const char* argv0) {
  std::string name = argv0 ? argv0 : "rirerazo";
  const size_t slash = name.find_last_of('/');
  return slash == std::string::npos ? name : name.substr(slash + 1);
}

// Plays on the desktop through the desktop module beside the program. Returns nullopt when
// the module cannot be loaded (saying why), so the caller plays headless instead.
std::optional<int> RunDesktopModule(const Options& options, const std::string& program_file_name,
                                    int argc, char** argv) {
  const auto module =
      rirerazo::os::LoadModule(rirerazo::kDesktopModuleFile, rirerazo::kDesktopModuleEntry);
  if (module.entry == nullptr) {
    std::cerr << "rirerazo: the desktop host cannot be loaded (" << module.error
              << "); playing headless.\n";
    return std::nullopt;
  }
  const rirerazo::DesktopModuleCall call{&options, &program_file_name, argc,
                                         argv,     &std::cout,         &std::cerr};
  return reinterpret_cast<rirerazo::DesktopModuleEntry>(module.entry)(&call);
}

// The desktop host needs an X display: characters place themselves anywhere on the screen,
// which Wayland does not let a program do. A Wayland session offers one through XWayland.
bool HasDisplay() {
  const char* x11 = std::getenv("DISPLAY");
  if (x11 && *x11) return true;
  const char* wayland = std::getenv("WAYLAND_DISPLAY");
  if (wayland && *wayland) {
    std::cerr << "rirerazo: this Wayland session offers no X display (XWayland); playing "
                 "headless.\n";
  }
  return false;
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  const auto parsed = rirerazo::host::ParseOptions(args);
  if (!parsed.error.empty()) {
    std::cerr << "rirerazo: " << parsed.error << "\nTry 'rirerazo --help'.\n";
    return rirerazo::host::kExitUsage;
  }
  const Options& options = parsed.options;
  if (options.help) {
    std::cout << rirerazo::host::UsageText();
    return 0;
  }
  if (options.version) {
    std::cout << "rirerazo " << rirerazo::kVersionText << "\n";
    return 0;
  }
  if (!options.pack_script.empty()) {
    return rirerazo::host::RunPacker(options.pack_script, options.pack_output);
  }
  if (!options.headless && HasDisplay()) {
    if (auto status = RunDesktopModule(options, ProgramFileName(argv[0]), argc, argv))
      return *status;
  }
  return rirerazo::headless::RunHeadless(options, ProgramFileName(argv[0]), std::cout, std::cerr);
}
