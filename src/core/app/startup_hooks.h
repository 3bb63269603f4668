// The parts of start-up and shutdown that depend on services the platform bundle does not
// offer yet: the Open dialog, a script carried inside the executable, the tray icon and
// the clean-up when the main form unloads. Each answers "nothing there" until its
// service exists.
#pragma once

#include <optional>
#include <string>

namespace rirerazo {

class Player;

// Shows the Open dialog for script files; nothing when it was cancelled.
std::optional<std::string> OpenFile(Player& player);

// Plays a script appended to the running executable; false when there is none.
bool FindScript(Player& player);

// Adds the notification-area icon.
void InstallTrayIcon(Player& player);

// The main form's clean-up when it unloads: tray icon, other windows, media.
void Form_Unload(Player& player);

// Closes the backdrop window when one is open.
void Backdrop_Unload(Player& player);

}  // namespace rirerazo
