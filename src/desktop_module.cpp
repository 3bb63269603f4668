// The desktop host as a module of its own (rirerazo-desktop.so beside the program). The
// program loads it only to play on a display, so a headless run neither spends its start-up
// loading Qt nor needs Qt's libraries installed at all.
#include <ostream>
#include <string>

#include "desktop/desktop_host.h"
#include "desktop_module.h"

extern "C" __attribute__((visibility("default"))) int rirerazo_run_desktop(
    const rirerazo::DesktopModuleCall* call) {
  return rirerazo::desktop::RunDesktop(*call->options, *call->program_file_name, call->argc,
                                       call->argv, *call->out, *call->err);
}
