#include "core/app/startup_hooks.h"

namespace rirerazo {

std::optional<std::string> OpenFile(Player&) {
  return std::nullopt;
}

bool FindScript(Player&) {
  return false;
}

void InstallTrayIcon(Player&) {}

void Form_Unload(Player&) {}

void Backdrop_Unload(Player&) {}

}  // namespace rirerazo
