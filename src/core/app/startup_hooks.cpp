#include "core/app/startup_hooks.h"

#include "core/app/carrier.h"
#include "core/app/player.h"
#include "core/interp/system_modules.h"
#include "core/script/open_script.h"
#include "core/util/file_dlg.h"
#include "core/util/paths.h"

namespace rirerazo {

// A host without a file dialog answers as if the user cancelled.
std::optional<std::string> OpenFile(Player& player) {
  if (player.services().file_dialog == nullptr) return std::nullopt;
  return OpenFile(*player.services().file_dialog, player.ui());
}

bool FindScript(Player& player) {
  FindScriptLinks links;
  links.exe_path = player.paths().exe_path;
  links.temp_dir = util::GetTempDir(player.system());
  links.set_script_file = [&](const std::string& file) { player.paths().script_file = file; };
  links.open_script_from_file = [&](const std::string& path) {
    return OpenScriptFromFile(player, path, true);
  };
  links.report_error = [&](const RuntimeError& error) {
    player.ReportError("RIRERazo:", "FindScript", error);
  };
  return FindScript(links);
}

void Backdrop_Unload(Player& player) {
  UnloadBackdropWindow(player);
}

}  // namespace rirerazo
