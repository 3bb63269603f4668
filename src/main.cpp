// rirerazo: plays character scripts. Parses the command line, picks a host and runs it.
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <string>
#include <vector>

#include "desktop/desktop_host.h"
#include "headless/headless_host.h"
#include "headless/options.h"
#include "os/carrier_packer.h"
#include "version.h"

namespace {

using rirerazo::headless::Options;

// The program's file name without its folder, as start-up reads it.
std::string ProgramFileName(const char* argv0) {
  std::string name = argv0 ? argv0 : "rirerazo";
  const size_t slash = name.find_last_of('/');
  return slash == std::string::npos ? name : name.substr(slash + 1);
}

bool HasDisplay() {
  const char* x11 = std::getenv("DISPLAY");
  const char* wayland = std::getenv("WAYLAND_DISPLAY");
  return (x11 && *x11) || (wayland && *wayland);
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  const auto parsed = rirerazo::headless::ParseOptions(args);
  if (!parsed.error.empty()) {
    std::cerr << "rirerazo: " << parsed.error << "\nTry 'rirerazo --help'.\n";
    return rirerazo::headless::kExitUsage;
  }
  const Options& options = parsed.options;
  if (options.help) {
    std::cout << rirerazo::headless::UsageText();
    return 0;
  }
  if (options.version) {
    std::cout << "rirerazo " << rirerazo::kVersionText << "\n";
    return 0;
  }
  if (!options.pack_script.empty()) {
    return rirerazo::os::RunPacker(options.pack_script, options.pack_output);
  }
  if (!options.headless && HasDisplay()) {
    return rirerazo::desktop::RunDesktop(options, ProgramFileName(argv[0]), argc, argv, std::cout,
                                         std::cerr);
  }
  return rirerazo::headless::RunHeadless(options, ProgramFileName(argv[0]), std::cout,
                                          std::cerr);
}
