// Starting commands and documents for scripts, and closing other programs' windows.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "core/app/error_report.h"
#include "platform/message_loop.h"
#include "platform/shell.h"
#include "platform/ui.h"

namespace rirerazo {

// True when the whole command, ASCII letters folded, is one of the refused commands: the
// classic command interpreters and disk tools (COMMAND.COM, CMD.EXE, FORMAT.COM, ...) and
// their counterparts on this system (sh, bash, dash, zsh, mkfs). Only the whole command
// counts: "cmd.exe /c dir" and "/bin/sh" are not refused.
bool IsRefusedCommand(std::string_view trimmed_command);

// A command split for the document-opening call: a leading quoted part (with at least one
// character between the quotes) is the file and the rest the parameters; otherwise the
// text before the first blank is the file. Both trimmed.
struct FileAndParameters {
  std::string file;
  std::string parameters;
};
FileAndParameters SplitFileAndParameters(std::string_view command);

// Tries to start `command` as a program (0), else opens it as a document and returns the
// opening call's result.
std::int32_t StartOrOpen(platform::Shell& shell, const std::string& command);

struct ShellExServices {
  platform::Shell& shell;
  platform::Ui& ui;
  platform::MessageLoop& loop;
};

// Starts `command` as a program; when that fails, opens it as a document (split by
// SplitFileAndParameters). Refused commands get the "Command is not allowed:" box and
// return 0; any other failure the "Error opening:" box. Yields once before returning when
// it got that far. Returns the document-opening result, or 0 when none was asked for.
std::int32_t ShellEx(const ShellExServices& services, const std::string& command);

// Asks the first top-level window titled exactly `title` to close; nothing happens when
// there is none. A failure (no display) goes to the error report ("M:SX:", "CloseApp").
void CloseApp(platform::Shell& shell, app::ErrorReporter& reporter, const std::string& title);

}  // namespace rirerazo
