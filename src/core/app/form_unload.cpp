// The main form's clean-up, run once by Player::UnloadMainForm. The tray icon goes first,
// so the user cannot open a menu of a player that is ending; then the other windows (the
// backdrop) and media; the shutdown timer stops with the form.
#include "core/app/player.h"
#include "core/app/startup_hooks.h"
#include "core/app/tray_menu.h"
#include "core/interp/system_modules.h"
#include "platform/runtime_error.h"

namespace rirerazo {
namespace {

// Each step runs even when an earlier one failed; failures are reported.
template <class Step>
void UnloadStep(Player& player, Step&& step) {
  try {
    step();
  } catch (...) {
    player.ReportError("RIRERazo:", "Form_Unload", app::CurrentError());
  }
}

}  // namespace

void Form_Unload(Player& player) {
  UnloadStep(player, [&] { RemoveTrayIcon(player); });
  UnloadStep(player, [&] { player.UnloadBackdrop(); });
  UnloadStep(player, [&] { StopMediaOnUnload(player); });
  UnloadStep(player, [&] { player.loop().StopTimer(); });
}

}  // namespace rirerazo
