// The parts of start-up and shutdown that reach optional services or other modules: the
// Open dialog, a script carried inside the executable, the tray icon and the clean-up when
// the main form unloads. A host without the service gets the answer "nothing there".
#pragma once

#include <optional>
#include <string>

namespace rirerazo {

class Player;

// Shows the Open dialog for script files; nothing when it was cancelled.
std::optional<std::string> OpenFile(Player& player);

// Plays a script appended to the running executable; false when there is none.
bool FindScript(Player& player);

// Adds the notification-area icon (core/app/tray_menu.cpp).
void InstallTrayIcon(Player& player);

// The main form's clean-up when it unloads: tray icon, other windows, media
// (core/app/form_unload.cpp).
void Form_Unload(Player& player);

// Closes the backdrop window when one is open.
void Backdrop_Unload(Player& player);

}  // namespace rirerazo
