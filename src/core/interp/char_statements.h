// The handlers of character statements (`Host.Speak Hello`, `Host.MoveTo 10, 20`, ...).
// Each cuts its argument at a fixed distance from the start of the line (the addressed
// id's length plus its keyword's), not where the keyword was found, cleans and converts
// it, and calls the character action. The addressed character is already current.
#pragma once

#include "core/interp/statement.h"

namespace rirerazo {

void ShowStatement(Player& player, const Statement& statement);
void HideStatement(Player& player, const Statement& statement);
void SpeakStatement(Player& player, const Statement& statement);
void ThinkStatement(Player& player, const Statement& statement);
void PlayStatement(Player& player, const Statement& statement);
// x, y[, speed]: expressions, rounded half to even; nothing happens without a comma.
// A value that does not fit 32 bits raises error 6.
void MoveToStatement(Player& player, const Statement& statement);
// x, y: split at the first comma only, so `10, 20, 30` evaluates "20, 30" (0) for y.
void GestureAtStatement(Player& player, const Statement& statement);
void BalloonFontNameStatement(Player& player, const Statement& statement);
void BalloonFontSizeStatement(Player& player, const Statement& statement);
void BalloonStyleStatement(Player& player, const Statement& statement);
void TTSModeIDStatement(Player& player, const Statement& statement);
void ListenStatement(Player& player, const Statement& statement);
void WidthStatement(Player& player, const Statement& statement);
void HeightStatement(Player& player, const Statement& statement);

}  // namespace rirerazo
