// The paths start-up computes and the rest of the player reads. They are not globals: the
// Player owns one StartupPaths (start-up fills it, in the order start-up runs) and hands it
// by reference to the helpers that need it, such as ResolveScriptPath. Tests build their own.
#pragma once

#include <string>

namespace rirerazo::util {

struct StartupPaths {
  // The folder of the running program, always ending in "/" (the root is "/", not "//").
  std::string app_path;
  // The running program's own file, read when a script is carried inside it.
  std::string exe_path;
  // The script file start-up opened, as start-up found it (relative or absolute); empty
  // until one is chosen. The base folder for file names inside scripts.
  std::string script_file;
};

}  // namespace rirerazo::util
