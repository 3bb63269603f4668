#include "desktop/fake_keyboard.h"

#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>

namespace rirerazo::desktop::testing {

FakeKeyboard::FakeKeyboard(const std::string& display_name)
    : display_(XOpenDisplay(display_name.c_str())) {}

FakeKeyboard::~FakeKeyboard() {
  if (display_) XCloseDisplay(display_);
}

void FakeKeyboard::Key(const std::string& key_name, bool down) {
  if (!display_) return;
  const KeyCode code = XKeysymToKeycode(display_, XStringToKeysym(key_name.c_str()));
  XTestFakeKeyEvent(display_, code, down ? True : False, CurrentTime);
  XSync(display_, False);
}

}  // namespace rirerazo::desktop::testing
