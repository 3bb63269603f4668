// The handlers of the system statements, as the interpreter's system-statement table calls
// them: each takes its argument from the line and calls the service that does the work.
// Errors they do not handle themselves reach the interpreter's error box.
#pragma once

#include "core/interp/statement.h"

namespace rirerazo {

void RunShellExStatement(Player& player, const Statement& statement);
void RunBgColorStatement(Player& player, const Statement& statement);
void RunBgImageStatement(Player& player, const Statement& statement);
void RunPlayWaveStatement(Player& player, const Statement& statement);
void RunPlayMidiStatement(Player& player, const Statement& statement);
void RunPlayAviStatement(Player& player, const Statement& statement);
// STOPWAVE, STOPMIDI and STOPAVI all stop whatever plays.
void RunStopMediaStatement(Player& player, const Statement& statement);
void RunBgShowStatement(Player& player, const Statement& statement);
void RunBgHideStatement(Player& player, const Statement& statement);
// Sends the argument as keystrokes and returns once they were processed.
void RunSendKeysStatement(Player& player, const Statement& statement);
void RunCloseAppStatement(Player& player, const Statement& statement);
// Reads the clipboard or a text file aloud, then queues the read-aloud marker
// (bookmark 777777777) on the current character.
void RunReadClipboardStatement(Player& player, const Statement& statement);
void RunReadTextFileStatement(Player& player, const Statement& statement);
// Plays another script file as a top-level script inside the current line; beyond
// kMaxPlayScriptNesting files inside one another it says so and plays nothing.
void RunPlayScriptStatement(Player& player, const Statement& statement);

}  // namespace rirerazo
