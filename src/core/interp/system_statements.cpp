#include "core/interp/system_statements.h"

#include "core/app/player.h"
#include "core/util/ascii.h"

namespace rirerazo {

void PropertySheetStatement(Player& player, const Statement&) {
  player.agent().ShowPropertySheet();
}

void VornCloseStatement(Player& player, const Statement&) {
  if (util::UCase(player.program_name) != "VORN") player.UnloadMainForm();
}

// Not built yet: these statements need services the platform bundle does not offer yet.
void ShellExStatement(Player&, const Statement&) {}
void BgColorStatement(Player&, const Statement&) {}
void BgImageStatement(Player&, const Statement&) {}
void PlayWaveStatement(Player&, const Statement&) {}
void StopWaveStatement(Player&, const Statement&) {}
void PlayMidiStatement(Player&, const Statement&) {}
void StopMidiStatement(Player&, const Statement&) {}
void PlayAviStatement(Player&, const Statement&) {}
void StopAviStatement(Player&, const Statement&) {}
void BgShowStatement(Player&, const Statement&) {}
void BgHideStatement(Player&, const Statement&) {}
void SendKeysStatement(Player&, const Statement&) {}
void CloseAppStatement(Player&, const Statement&) {}
void ReadClipboardStatement(Player&, const Statement&) {}
void ReadTextFileStatement(Player&, const Statement&) {}
void PlayScriptStatement(Player&, const Statement&) {}

}  // namespace rirerazo
