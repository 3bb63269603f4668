// Loads the program's optional modules (the desktop host and the heavy services it or
// another host needs only for some scripts) with dlopen. A module is looked for beside the
// running program (a build folder) and then in `<prefix>/lib/rirerazo/` when the program
// runs from `<prefix>/bin/` (an installed layout), so both work wherever the prefix is.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace rirerazo::os {

// The folders searched for modules, in order, for a program at `executable_path`.
std::vector<std::string> ModuleFolders(const std::string& executable_path);

// A loaded module. Loading never throws: a module that is missing or lacks its entry point
// leaves `entry` null and says why in `error`. Modules stay loaded for the life of the
// process (their code may be running on threads the module started).
struct LoadedModule {
  void* entry = nullptr;
  std::string path;   // the file loaded, when one was found
  std::string error;  // why `entry` is null
};

// Loads `file_name` from the first module folder that has it and looks up `entry_name`.
LoadedModule LoadModule(std::string_view file_name, const char* entry_name);

}  // namespace rirerazo::os
