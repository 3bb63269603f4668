// Where file mode finds the script the command line names: the text as written (from the
// current folder), else the same text in the program's folder. Start-up opens what this
// finds; the program's entry point uses it to say which path was not found.
#pragma once

#include <string>

namespace rirerazo {

// The command line as start-up reads it: blanks trimmed, then every leading and trailing
// double quote removed.
std::string NamedScriptText(const std::string& command_line);

// The path of the named script, or empty when it exists neither as written nor in
// `app_path` (the program's folder, ending in "/").
std::string FindNamedScript(const std::string& named, const std::string& app_path);

}  // namespace rirerazo
