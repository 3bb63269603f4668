#include "core/interp/shell_ex.h"

#include <array>

#include "core/util/ascii.h"
#include "core/util/text.h"

namespace rirerazo {

namespace {

// The player's default message-box title.
constexpr const char* kBoxTitle = "RIRERazo";

// The refused commands, upper-cased. The first nine are the classic list; the last five
// are the same danger on this system (a bare shell or disk formatter) and are refused the
// same way.
constexpr std::array<std::string_view, 14> kRefusedCommands{
    "COMMAND.COM", "MS-DOS",     "CMD.EXE",    "COMMAND PROMPT",
    "DELTREE.EXE", "FORMAT.COM", "FORMAT.EXE", "REPLACE.EXE",
    "RESTORE.EXE", "SH",         "BASH",       "DASH",
    "ZSH",         "MKFS"};

void ShowOpeningError(platform::Ui& ui, const std::string& command, const RuntimeError& error) {
  ui.MessageBox("Error opening:\r\n" + command + "\r\n\r\nError " + std::to_string(error.Number()) +
                    " : " + error.Description(),
                kBoxTitle, platform::mb::kOkOnly | platform::mb::kExclamation);
}

}  // namespace

// The start attempt, and the document opening when the start failed in any way (the text
// then names a document, a folder, an address or nothing that exists).
std::int32_t StartOrOpen(platform::Shell& shell, const std::string& command) {
  try {
    shell.StartProgram(command);
    return 0;
  } catch (...) {
  }
  const FileAndParameters split = SplitFileAndParameters(command);
  return shell.OpenDocument(split.file, split.parameters);
}

bool IsRefusedCommand(std::string_view trimmed_command) {
  const std::string upper = util::UCase(trimmed_command);
  for (std::string_view refused : kRefusedCommands) {
    if (upper == refused) return true;
  }
  return false;
}

FileAndParameters SplitFileAndParameters(std::string_view command) {
  if (command.starts_with('"')) {
    const auto close = command.find('"', 1);
    if (close != std::string_view::npos && close > 1) {
      return {std::string(util::Trim(command.substr(1, close - 1))),
              std::string(util::Trim(command.substr(close + 1)))};
    }
    return {std::string(command), ""};
  }
  const auto blank = command.find(' ');
  if (blank == std::string_view::npos) return {std::string(command), ""};
  return {std::string(util::Trim(command.substr(0, blank))),
          std::string(util::Trim(command.substr(blank + 1)))};
}

std::int32_t ShellEx(const ShellExServices& services, const std::string& command_text) {
  std::string command;
  std::int32_t result = 0;
  try {
    command = util::Trim(command_text);
    if (IsRefusedCommand(command)) {
      services.ui.MessageBox("Command is not allowed:\r\n\r\n" + command, kBoxTitle,
                             platform::mb::kOkOnly | platform::mb::kExclamation);
      return 0;
    }
    result = StartOrOpen(services.shell, command);
  } catch (...) {
    ShowOpeningError(services.ui, command, app::CurrentError());
    return 0;
  }
  services.loop.DoEvents();
  return result;
}

void CloseApp(platform::Shell& shell, app::ErrorReporter& reporter, const std::string& title) {
  try {
    shell.CloseWindowByTitle(title);
  } catch (...) {
    app::ReportCurrentError(reporter, "M:SX:", "CloseApp");
  }
}

}  // namespace rirerazo
