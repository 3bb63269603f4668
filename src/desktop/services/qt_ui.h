// The desktop's message boxes, mouse pointer and screen metrics, on Qt Widgets. Called on
// the player's (the GUI) thread only; needs a running QApplication.
#pragma once

#include <string>
#include <vector>

#include "platform/ui.h"

class QMessageBox;

namespace rirerazo::desktop {

class QtUi final : public platform::Ui {
 public:
  QtUi() = default;
  ~QtUi() override;
  QtUi(const QtUi&) = delete;
  QtUi& operator=(const QtUi&) = delete;

  // A modal box on top of every window, with the icon, buttons and default button of the
  // mb:: bits of `style`; an empty title becomes the program's name. Events keep running
  // while it is shown. Closing the box without a button answers as its escape button does
  // (Cancel or No where there is one, else the first button).
  platform::MsgAnswer MessageBox(const std::string& text, const std::string& title,
                                 int style) override;
  // The busy pointer covers all the program's windows until the normal one is set again.
  void SetCursor(platform::Cursor cursor) override;
  // The primary screen's size; 1024 x 768 when Qt knows no screen.
  int ScreenWidthPx() const override;
  int ScreenHeightPx() const override;

  // Closes every box still open, innermost first, each answering as if closed without a
  // button: the program is ending and nobody waits for the answers.
  void CloseOpenBoxes();

 private:
  bool busy_ = false;
  std::vector<QMessageBox*> open_boxes_;  // nested boxes, innermost last
};

// The title a box gets when the player passes none.
inline constexpr const char* kDefaultBoxTitle = "RIRERazo";

}  // namespace rirerazo::desktop
