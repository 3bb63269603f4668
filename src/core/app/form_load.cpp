// Start-up of the player: paths, screen metrics, the tray icon and the choice of the run
// mode, then the script file is loaded and played before Form_Load returns.
#include <string>

#include "core/app/named_script.h"
#include "core/app/player.h"
#include "core/app/startup_hooks.h"
#include "core/script/open_script.h"
#include "core/util/ascii.h"
#include "core/util/paths.h"
#include "core/util/text.h"
#include "platform/runtime_error.h"

namespace rirerazo {
namespace {

// The file name without folder and extension: "/opt/x/RIRERAZO.EXE" gives "RIRERAZO".
std::string BareProgramName(const std::string& program_file_name) {
  std::string name = util::FileNameOnly(program_file_name);
  const std::size_t dot = name.rfind('.');
  if (dot != std::string::npos && dot > 0) name.erase(dot);
  return name;
}

// File mode: the named file as written (current folder), else in the program's folder.
bool OpenNamedFile(Player& player) {
  player.gScriptFile = FindNamedScript(player.strScriptFile, player.gAppPath);
  if (player.gScriptFile.empty()) return false;
  return OpenScriptFromFile(player, player.gScriptFile, true);
}

// Dialog mode: the file chosen in the Open dialog.
bool OpenChosenFile(Player& player) {
  player.strScriptFile = util::TrimChars(OpenFile(player).value_or(""), "\"");
  player.gScriptFile = player.strScriptFile;
  if (!util::FileExists(player.gScriptFile)) return false;
  return OpenScriptFromFile(player, player.gScriptFile, true);
}

bool IsDialogName(const std::string& program_name) {
  const std::string upper = util::UCase(program_name);
  return upper == "DAREZAZ" || upper == "RIRERAZO";
}

bool OpenScriptOfRunMode(Player& player) {
  if (!player.strScriptFile.empty()) return OpenNamedFile(player);
  if (IsDialogName(player.program_name)) return OpenChosenFile(player);
  return FindScript(player);
}

}  // namespace

void Player::Form_Load(const std::string& command_line, const std::string& program_file_name) {
  try {
    gExePath = system().ExecutablePath();
    gAppPath = util::AppPathFrom(gExePath);
    program_name = BareProgramName(program_file_name);
    gDoubleCrLf = "\r\n\r\n";
    if (!strScriptFile.empty()) {
      mfExitWhenDone = true;
    } else {
      strScriptFile = NamedScriptText(command_line);
    }
    gScreenWidth = ui().ScreenWidthPx();
    gScreenHeight = ui().ScreenHeightPx();
    InstallTrayIcon(*this);
    if (mfExitWhenDone) return;
    script_opened = OpenScriptOfRunMode(*this);
    if (!script_opened) UnloadMainForm();
  } catch (...) {
    ReportError("RIRERazo:", "Form_Load", app::CurrentError());
  }
}

}  // namespace rirerazo
