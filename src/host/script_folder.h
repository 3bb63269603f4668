// Folders a host derives from the command line and the program's own path.
#pragma once

#include <string>
#include <string_view>

namespace rirerazo::host {

// The folder of the script the command-line text names, where the script's characters are
// looked for: the text up to its last separator ('/' or '\'), "/" for a file in the root,
// and "." (the current folder) for a bare file name. Surrounding blanks and double quotes
// are ignored, as start-up ignores them. Empty when the text names no script.
std::string ScriptFolder(std::string_view command_line);

// The install prefix of a program at `<prefix>/bin/<name>`: the folder above its own.
std::string InstallPrefix(const std::string& executable_path);

}  // namespace rirerazo::host
