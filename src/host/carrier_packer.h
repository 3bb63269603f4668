// The packer for authors: writes a copy of the player with a script appended behind the
// carrier marker, so a single program file plays that script when started under its own
// (other) name without arguments.
#pragma once

#include <string>

namespace rirerazo::host {

// Writes `output` = the program at `program_path` (without any script it already carries)
// + the marker line + the bytes of the script file at `script_path`, and makes it
// executable. Raises RuntimeError with a readable description when the script is missing,
// empty, not a script file or holds a NUL byte, when `output` would be named like the
// player itself (that name asks for a file instead of playing), or when writing fails.
void PackCarrier(const std::string& program_path, const std::string& script_path,
                 const std::string& output);

// `rirerazo --pack SCRIPT -o PROGRAM`: packs the running player. Returns the exit status
// (0 on success); failures are explained on standard error.
int RunPacker(const std::string& script, const std::string& output);

}  // namespace rirerazo::host
