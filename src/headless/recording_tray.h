// The headless host's notification area: it keeps no icon on any screen, only whether one is
// installed, the mouse events the user script gives it and the menus the player shows. The
// user-input script chooses menu items through Choose.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/tray.h"

namespace rirerazo::headless {

// An item of the popup menu as the user script names it: its caption (access-key '&'
// optional: "Hide Host" and "Hide &Host" name the same item) or its 1-based position among
// the visible items.
struct TraySelector {
  std::string caption;
  int position = 0;  // > 0: choose by position
  std::string Describe() const;
};

class RecordingTray : public platform::Tray {
 public:
  void Install(const std::string& tip, platform::TrayEvents* listener) override;
  void Remove() override;
  bool Installed() const override { return installed_; }
  int ShowPopupMenu(const std::vector<platform::MenuItem>& items) override;

  // The user's side. Mouse hands one mouse message to the player; an error when no icon
  // is installed.
  void Mouse(int mouse_message);
  // A right click (press, release) on the icon, then the item chosen from the menu it opens.
  // An error when no icon is installed, when no menu opened or when it had no such item
  // (the menu is then dismissed without a choice).
  void Choose(const TraySelector& selector);
  // A right click that dismisses the menu it opens.
  void Dismiss();

  const std::string& Tip() const { return tip_; }
  // The visible captions of the menu the last time it was shown.
  const std::vector<std::string>& LastMenu() const { return last_menu_; }

 private:
  int Pick(const std::vector<platform::MenuItem>& items) const;

  platform::TrayEvents* listener_ = nullptr;
  bool installed_ = false;
  std::string tip_;
  std::vector<std::string> last_menu_;
  std::optional<TraySelector> pending_;  // what the open right click will choose
  int menus_shown_ = 0;
  bool picked_ = false;
};

}  // namespace rirerazo::headless
