#include "core/app/startup_hooks.h"

#include "core/interp/system_modules.h"

namespace rirerazo {

std::optional<std::string> OpenFile(Player&) {
  return std::nullopt;
}

bool FindScript(Player&) {
  return false;
}

void Backdrop_Unload(Player& player) { UnloadBackdropWindow(player); }

}  // namespace rirerazo
