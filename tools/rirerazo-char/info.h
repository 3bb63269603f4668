// The `info` command: a readable summary of a character file for authors.
#pragma once

#include <ostream>
#include <string>

#include "runtime/acs/acs_file.h"

namespace rirerazo::chartool {

// Name, description, size, identity, voice and balloon defaults, states, animations with
// frame counts and durations, and sounds with their formats. `file_size` is printed as is.
void PrintInfo(const acs::Character& character, std::uintmax_t file_size, std::ostream& out);

}  // namespace rirerazo::chartool
