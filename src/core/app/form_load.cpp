// Start-up of the player: paths, screen metrics, the tray icon and the choice of the run
// mode, then the script file is loaded and played before Form_Load returns.
#include <string>

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
  if (util::FileExists(player.startup().script_argument)) {
    player.paths().script_file = player.startup().script_argument;
  } else if (util::FileExists(player.paths().app_path + player.startup().script_argument)) {
    player.paths().script_file = player.paths().app_path + player.startup().script_argument;
  }
  if (player.paths().script_file.empty()) return false;
  return OpenScriptFromFile(player, player.paths().script_file, true);
}

// Dialog mode: the file chosen in the Open dialog.
bool OpenChosenFile(Player& player) {
  player.startup().script_argument = util::TrimChars(OpenFile(player).value_or(""), "\"");
  player.paths().script_file = player.startup().script_argument;
  if (!util::FileExists(player.paths().script_file)) return false;
  return OpenScriptFromFile(player, player.paths().script_file, true);
}

bool IsDialogName(const std::string& program_name) {
  const std::string upper = util::UCase(program_name);
  return upper == "DAREZAZ" || upper == "RIRERAZO";
}

bool OpenScriptOfRunMode(Player& player) {
  if (!player.startup().script_argument.empty()) return OpenNamedFile(player);
  if (IsDialogName(player.startup().program_name)) return OpenChosenFile(player);
  return FindScript(player);
}

}  // namespace

void Player::Form_Load(const std::string& command_line, const std::string& program_file_name) {
  try {
    paths_.exe_path = system().ExecutablePath();
    paths_.app_path = util::AppPathFrom(paths_.exe_path);
    startup_.program_name = BareProgramName(program_file_name);
    if (!startup_.script_argument.empty()) {
      startup_.exit_when_done = true;
    } else {
      startup_.script_argument = util::TrimChars(command_line, "\"");
    }
    startup_.screen_width_px = ui().ScreenWidthPx();
    startup_.screen_height_px = ui().ScreenHeightPx();
    InstallTrayIcon(*this);
    if (startup_.exit_when_done) return;
    startup_.script_opened = OpenScriptOfRunMode(*this);
    if (!startup_.script_opened) UnloadMainForm();
  } catch (...) {
    ReportError("RIRERazo:", "Form_Load", app::CurrentError());
  }
}

}  // namespace rirerazo
