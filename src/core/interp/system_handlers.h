// The handlers of the system statements (lines not addressed to a loaded character), as the
// interpreter's system-statement table calls them: each takes its argument from the line
// and calls the service that does the work. Errors they do not handle themselves reach the
// interpreter's error box.
#pragma once

#include "core/interp/statement.h"

namespace rirerazo {

// Shows the character control's settings sheet.
void PropertySheetStatement(Player& player, const Statement& statement);
void ShellExStatement(Player& player, const Statement& statement);
void BgColorStatement(Player& player, const Statement& statement);
void BgImageStatement(Player& player, const Statement& statement);
void PlayWaveStatement(Player& player, const Statement& statement);
void PlayMidiStatement(Player& player, const Statement& statement);
void PlayAviStatement(Player& player, const Statement& statement);
// STOPWAVE, STOPMIDI and STOPAVI all stop whatever plays.
void StopMediaStatement(Player& player, const Statement& statement);
void BgShowStatement(Player& player, const Statement& statement);
void BgHideStatement(Player& player, const Statement& statement);
// Sends the argument as keystrokes and returns once they were processed.
void SendKeysStatement(Player& player, const Statement& statement);
void CloseAppStatement(Player& player, const Statement& statement);
// Ends the player, unless the running program is named VORN (any case).
void VornCloseStatement(Player& player, const Statement& statement);
// Reads the clipboard or a text file aloud, then queues the read-aloud marker
// (bookmark 777777777) on the current character.
void ReadClipboardStatement(Player& player, const Statement& statement);
void ReadTextFileStatement(Player& player, const Statement& statement);
// Plays another script file as a top-level script inside the current line; beyond
// kMaxPlayScriptNesting files inside one another it says so and plays nothing.
void PlayScriptStatement(Player& player, const Statement& statement);

}  // namespace rirerazo
