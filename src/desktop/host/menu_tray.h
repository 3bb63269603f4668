// The player's tray, with a second way to its menu: where the desktop has no notification
// area, a character's own menu offers the player's menu instead, and choosing it reaches the
// player exactly as a right-button release on the icon would.
#pragma once

#include <string>
#include <vector>

#include "desktop/services/qt_tray.h"
#include "platform/tray.h"

namespace rirerazo::desktop {

class MenuTray final : public platform::Tray {
 public:
  explicit MenuTray(QtTray& tray) : tray_(tray) {}

  void Install(const std::string& tip, platform::TrayEvents* listener) override {
    listener_ = listener;
    tray_.Install(tip, listener);
  }
  void Remove() override {
    listener_ = nullptr;
    tray_.Remove();
  }
  bool Installed() const override { return tray_.Installed(); }
  int ShowPopupMenu(const std::vector<platform::MenuItem>& items) override {
    return tray_.ShowPopupMenu(items);
  }

  // The icon is installed but no notification area shows it.
  bool MenuOutOfReach() const { return listener_ != nullptr && !tray_.Available(); }
  // As a right click on the icon: the player opens its menu.
  void OpenMenu() {
    if (listener_ != nullptr) listener_->OnTrayMouse(platform::tray_mouse::kRightUp);
  }

 private:
  QtTray& tray_;
  platform::TrayEvents* listener_ = nullptr;
};

}  // namespace rirerazo::desktop
