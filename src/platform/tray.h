// The notification-area icon and its popup menu. The player owns the menu's contents (one
// Show/Hide item per character, then Close); the host shows the icon, reports mouse
// events on it, and shows the menu when the player asks.
#pragma once

#include <string>
#include <vector>

namespace rirerazo::platform {

// Mouse messages reported for the icon, with the classic numbers.
namespace tray_mouse {
inline constexpr int kMove = 0x200;
inline constexpr int kLeftDown = 0x201;
inline constexpr int kLeftUp = 0x202;
inline constexpr int kLeftDoubleClick = 0x203;
inline constexpr int kRightDown = 0x204;
inline constexpr int kRightUp = 0x205;
}  // namespace tray_mouse

struct MenuItem {
  std::string caption;  // "&" marks the access key
  bool visible = true;
};

// Receives the icon's mouse events; the player implements it (Form_MouseMove).
class TrayEvents {
 public:
  virtual ~TrayEvents() = default;
  virtual void OnTrayMouse(int mouse_message) = 0;
};

class Tray {
 public:
  virtual ~Tray() = default;

  // Adds the icon with its tip; `listener` receives its mouse events (not owned).
  virtual void Install(const std::string& tip, TrayEvents* listener) = 0;
  // Removes the icon; nothing happens when none is installed.
  virtual void Remove() = 0;
  virtual bool Installed() const = 0;

  // Shows the popup menu at the mouse and waits until it closes (events may run
  // meanwhile). Returns the index of the chosen item, or -1 when none was chosen.
  virtual int ShowPopupMenu(const std::vector<MenuItem>& items) = 0;
};

}  // namespace rirerazo::platform
