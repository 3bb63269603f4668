// The desktop host: plays a script with characters on screen, speech aloud, the tray icon,
// dialogs, the backdrop and media, on the same player and runtime as the headless host.
#pragma once

#include <iosfwd>
#include <string>

#include "host/options.h"

namespace rirerazo::desktop {

// Runs the player on the desktop until it quits; returns the process exit status.
// `argc`/`argv` go to Qt when no application exists yet; trace and transcript lines go to
// `out`, messages to `err`.
int RunDesktop(const host::Options& options, const std::string& program_file_name, int argc,
               char** argv, std::ostream& out, std::ostream& err);

}  // namespace rirerazo::desktop
