// The handlers of system statements: lines not addressed to a loaded character. The
// statements that need the backdrop, media, shell, keystroke, clipboard and read-aloud
// services are recognised in their table order and do nothing until those services join
// the platform bundle.
#pragma once

#include "core/interp/statement.h"

namespace rirerazo {

// Shows the character control's settings sheet; a failure reaches the error box.
void PropertySheetStatement(Player& player, const Statement& statement);
void ShellExStatement(Player& player, const Statement& statement);
void BgColorStatement(Player& player, const Statement& statement);
void BgImageStatement(Player& player, const Statement& statement);
void PlayWaveStatement(Player& player, const Statement& statement);
void StopWaveStatement(Player& player, const Statement& statement);
void PlayMidiStatement(Player& player, const Statement& statement);
void StopMidiStatement(Player& player, const Statement& statement);
void PlayAviStatement(Player& player, const Statement& statement);
void StopAviStatement(Player& player, const Statement& statement);
void BgShowStatement(Player& player, const Statement& statement);
void BgHideStatement(Player& player, const Statement& statement);
void SendKeysStatement(Player& player, const Statement& statement);
void CloseAppStatement(Player& player, const Statement& statement);
// Ends the player, unless the running program is named VORN (any case).
void VornCloseStatement(Player& player, const Statement& statement);
void ReadClipboardStatement(Player& player, const Statement& statement);
void ReadTextFileStatement(Player& player, const Statement& statement);
void PlayScriptStatement(Player& player, const Statement& statement);

}  // namespace rirerazo
