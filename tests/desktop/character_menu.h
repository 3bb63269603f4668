// Chooses an item from a character's popup menu, as a person would with the mouse.
#pragma once

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QString>
#include <QWidget>

#include "desktop/character/character_window.h"

namespace rirerazo::desktop {

// Chooses `caption` (access-key marks ignored) from the menu of the first visible character
// that offers it; false when none does.
inline bool ChooseFromCharacterMenu(const QString& caption) {
  for (QWidget* window : QApplication::topLevelWidgets()) {
    auto* character = qobject_cast<CharacterWindow*>(window);
    if (!character || !character->isVisible()) continue;
    QMenu* menu = character->OpenMenu(character->mapToGlobal(QPoint(10, 10)));
    QAction* wanted = nullptr;
    for (QAction* action : menu->actions()) {
      if (action->text().remove('&') == caption) wanted = action;
    }
    menu->close();
    if (wanted) {
      wanted->trigger();
      return true;
    }
  }
  return false;
}

}  // namespace rirerazo::desktop
