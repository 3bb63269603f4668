// How the system statements take their arguments from a script line. Pure functions of
// the line: the statements themselves (system_handlers) call the services.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace rirerazo {

// The text after the first blank of the line, blanks trimmed and then every leading and
// every trailing double quote removed. Empty when the line has no blank.
std::string StatementArgument(std::string_view line);

// The command of "SHELLEX ", "RUN " and "OPEN ": the rest of the line after `keyword`,
// blanks trimmed; one leading and then one trailing double quote removed; every pair of
// double quotes made one. So RUN """C:\a b\t.exe"" /q" gives "C:\a b\t.exe" /q.
std::string ShellExCommand(std::string_view line, std::string_view keyword);

// The character, file and speech prefix of a read-aloud statement.
struct ReadAloudArguments {
  std::string character;
  std::string file;  // as written, not yet resolved; empty for the clipboard
  std::string prefix;
};

// "READCLIPBOARD character[, prefix]".
ReadAloudArguments ReadClipboardArguments(std::string_view line);

// "READTEXTFILE character, file[, prefix]"; none when the line holds no comma at all (the
// statement then does nothing).
std::optional<ReadAloudArguments> ReadTextFileArguments(std::string_view line);

}  // namespace rirerazo
