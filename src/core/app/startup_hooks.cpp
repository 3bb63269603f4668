#include "core/app/startup_hooks.h"

#include "core/interp/system_modules.h"

namespace rirerazo {

std::optional<std::string> OpenFile(Player&) {
  return std::nullopt;
}

bool FindScript(Player&) {
  return false;
}

void InstallTrayIcon(Player&) {}

void Form_Unload(Player& player) {
  UnloadBackdropWindow(player);
  StopMediaOnUnload(player);
}

void Backdrop_Unload(Player& player) { UnloadBackdropWindow(player); }

}  // namespace rirerazo
