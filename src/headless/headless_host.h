// The headless host: plays a script on the virtual clock with the real character runtime,
// writes the trace and the transcript, and returns the program's exit status.
#pragma once

#include <ostream>
#include <string>

#include "host/exit_status.h"
#include "host/options.h"

namespace rirerazo::headless {

// Plays `options.command_line` as start-up does. `program_file_name` is the running
// program's file name (it decides the run mode when no script is named). Messages for the
// user go to `err`; the transcript and a trace named "-" go to `out`.
int RunHeadless(const host::Options& options, const std::string& program_file_name,
                std::ostream& out, std::ostream& err);

}  // namespace rirerazo::headless
