// The notification-area icon and the main form's popup menu: one Show/Hide item per
// character of the table (item i belongs to entry i), then "&Close". The icon is installed
// at start-up and removed first when the main form unloads; the captions follow the
// characters' Show and Hide events (UpdateMenu).
#pragma once

#include <string>
#include <vector>

#include "platform/tray.h"

namespace rirerazo {

class Player;
struct FormState;

inline constexpr const char* kTrayTip = "RIRERazo";
inline constexpr const char* kCloseItemCaption = "&Close";

// Adds the icon with the tip "RIRERazo"; the Player receives its mouse events. Start-up
// calls it; nothing happens when the host has no tray.
void InstallTrayIcon(Player& player);

// Removes the icon; nothing happens when the host has no tray or none is installed.
void RemoveTrayIcon(Player& player);

// The icon's mouse events. Only the right button's release (0x205) opens the popup menu;
// every other event does nothing. Errors are reported and skipped.
void Form_MouseMove(Player& player, int mouse_message);

// The popup menu as shown: the character items in table order, then "&Close".
std::vector<platform::MenuItem> PopupMenuItems(const FormState& form);

// The character item `Index` (1-based, as the table) was chosen: that character's requests
// are stopped, then it is shown when the caption begins with "Show", else hidden. Errors
// are skipped.
void mnuCharShow_Click(Player& player, int Index);

// Brings the character items up to date: one visible item per table entry, captioned
// "Hide &" and the id while the character is visible, "Show &" and the id while hidden.
void UpdateMenu(Player& player);

// The caption of a character item for a character that is (or is not) visible.
std::string CharShowCaption(const std::string& char_id, bool visible);

}  // namespace rirerazo
