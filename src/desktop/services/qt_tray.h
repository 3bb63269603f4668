// The notification-area icon and its popup menu on Qt. The icon's mouse events reach the
// listener as the classic tray_mouse numbers, queued so that the listener runs from the
// message loop (it may open the menu, which runs a nested loop). Where the desktop has no
// notification area the icon waits: the absence is said once on the error stream, Available()
// reports it so the host can keep every function reachable through the characters' own
// menus, and a notification area that appears later is found by polling and the icon shown
// there. Called on the GUI thread only.
#pragma once

#include <iosfwd>
#include <memory>
#include <string>
#include <vector>

#include "platform/picture.h"
#include "platform/tray.h"

namespace rirerazo::desktop {

class QtTray final : public platform::Tray {
 public:
  // `err` receives the one notice of a missing notification area; it outlives the tray.
  explicit QtTray(std::ostream& err);
  QtTray();
  ~QtTray() override;
  QtTray(const QtTray&) = delete;
  QtTray& operator=(const QtTray&) = delete;

  // The icon's picture; without one the tray draws a simple icon of its own.
  void SetIcon(const platform::Picture& picture);

  void Install(const std::string& tip, platform::TrayEvents* listener) override;
  void Remove() override;
  bool Installed() const override;
  // The menu at the mouse, with the captions as given ("&" marks the access key). Returns
  // the index of the chosen item among all `items` (hidden ones count), or -1.
  int ShowPopupMenu(const std::vector<platform::MenuItem>& items) override;

  // False while the desktop offers no notification area.
  bool Available() const;
  // True while the icon is on screen.
  bool IconVisible() const;

  // The object name of the icon (a child of the application) while it is installed.
  static constexpr const char* kTrayIconObjectName = "rirerazo-tray-icon";

  // How often a missing notification area is looked for again.
  static constexpr int kPollIntervalMs = 1000;

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace rirerazo::desktop
