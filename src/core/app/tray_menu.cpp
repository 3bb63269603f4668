#include "core/app/tray_menu.h"

#include "core/app/player.h"
#include "core/app/shutdown.h"
#include "core/app/startup_hooks.h"
#include "platform/runtime_error.h"

namespace rirerazo {
namespace {

// What the chosen popup item stands for.
void DispatchMenuChoice(Player& player, int chosen) {
  if (chosen < 0) return;
  const std::size_t item = static_cast<std::size_t>(chosen);
  if (item < player.form().character_items.size()) {
    mnuCharShow_Click(player, chosen + 1);
  } else if (item == player.form().character_items.size()) {
    mnuCloseScript_Click(player);
  }
}

}  // namespace

// Start-up installs the icon with the main form as the receiver of its mouse events.
void InstallTrayIcon(Player& player) {
  if (player.tray() != nullptr) player.tray()->Install(kTrayTip, &player);
}

void RemoveTrayIcon(Player& player) {
  if (player.tray() != nullptr) player.tray()->Remove();
}

void Form_MouseMove(Player& player, int mouse_message) {
  try {
    if (mouse_message != platform::tray_mouse::kRightUp || player.tray() == nullptr) return;
    DispatchMenuChoice(player, player.tray()->ShowPopupMenu(PopupMenuItems(player.form())));
  } catch (...) {
    player.ReportError("RIRERazo:", "Form_MouseMove", app::CurrentError());
  }
}

std::vector<platform::MenuItem> PopupMenuItems(const FormState& form) {
  std::vector<platform::MenuItem> items = form.character_items;
  items.push_back(platform::MenuItem{kCloseItemCaption, true});
  return items;
}

void mnuCharShow_Click(Player& player, int Index) {
  if (Index < 1 || Index > player.characters().count()) return;
  const std::size_t entry = static_cast<std::size_t>(Index) - 1;
  if (entry >= player.form().character_items.size()) return;
  const bool show = player.form().character_items[entry].caption.starts_with("Show");
  try {
    platform::AgentCharacter& character =
        player.agent().Character(player.characters().loaded[entry].id);
    try {
      character.StopAll();
    } catch (const RuntimeError&) {
    }
    if (show) {
      character.Show();
    } else {
      character.Hide();
    }
  } catch (const RuntimeError&) {
  }
}

std::string CharShowCaption(const std::string& char_id, bool visible) {
  return (visible ? "Hide &" : "Show &") + char_id;
}

void UpdateMenu(Player& player) {
  for (std::size_t i = 0; i < player.characters().loaded.size(); ++i) {
    if (player.form().character_items.size() <= i) player.form().character_items.resize(i + 1);
    platform::MenuItem& item = player.form().character_items[i];
    item.visible = true;
    try {
      const std::string& id = player.characters().loaded[i].id;
      item.caption = CharShowCaption(id, player.agent().Character(id).Visible());
    } catch (...) {
      player.ReportError("RIRERazo:", "UpdateMenu", app::CurrentError());
    }
    // A report's Cancel unloads the form; the items are gone with it.
    if (player.Unloaded()) return;
  }
}

}  // namespace rirerazo
