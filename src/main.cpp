// rirerazo: plays character scripts. Parses the command line, picks a host and runs it.
#include <cstdio>
#include <cstdlib>
#include <unistd.h>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "core/app/named_script.h"
#include "core/util/paths.h"
#include "desktop_module.h"
#include "render_module.h"
#include "headless/headless_host.h"
#include "host/exit_status.h"
#include "host/options.h"
#include "host/carrier_packer.h"
#include "os/module_loader.h"
#include "os/posix_system.h"
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

// Renders to a video file through the render module beside the program; without the module
// there is no render, so the run fails and says why.
int RunRenderModule(const Options& options, const std::string& program_file_name, int argc,
                    char** argv) {
  const auto module =
      rirerazo::os::LoadModule(rirerazo::kRenderModuleFile, rirerazo::kRenderModuleEntry);
  if (module.entry == nullptr) {
    std::cerr << "rirerazo: cannot render: the render module cannot be loaded (" << module.error
              << ")\n";
    return 4;  // the render host's status for a video that cannot be written
  }
  const rirerazo::RenderModuleCall call{&options,  &program_file_name, argc,
                                        argv,      &std::cout,         &std::cerr,
                                        isatty(STDERR_FILENO) == 1};
  return reinterpret_cast<rirerazo::RenderModuleEntry>(module.entry)(&call);
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

// A script named on the command line that exists nowhere ends the program without a box; one
// line on standard error still shows a typo in a terminal.
int SayWhenScriptMissing(int status, const Options& options) {
  if (status != rirerazo::host::kExitNoScript) return status;
  const std::string named = rirerazo::NamedScriptText(options.command_line);
  if (named.empty()) return status;
  const std::string app_path =
      rirerazo::util::AppPathFrom(rirerazo::os::PosixSystem().ExecutablePath());
  if (rirerazo::FindNamedScript(named, app_path).empty()) {
    std::cerr << "rirerazo: " << named << ": no such script file\n";
  }
  return status;
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
  if (!options.render_path.empty()) {
    return RunRenderModule(options, ProgramFileName(argv[0]), argc, argv);
  }
  if (!options.headless && HasDisplay()) {
    if (auto status = RunDesktopModule(options, ProgramFileName(argv[0]), argc, argv))
      return SayWhenScriptMissing(*status, options);
  }
  return SayWhenScriptMissing(
      rirerazo::headless::RunHeadless(options, ProgramFileName(argv[0]), std::cout, std::cerr),
      options);
}
