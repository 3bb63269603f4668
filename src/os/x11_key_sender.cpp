#include "os/x11_key_sender.h"

#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

#include <vector>

#include "os/key_notation.h"
#include "os/x11_connection.h"

namespace rirerazo::os {

namespace {

// The keyboard map read once per call. A character that no key types is bound to an empty
// key code of its own, and the binding stays after the call: the receiving program may
// translate the key only later, and must still find the character there.
class Keyboard {
 public:
  explicit Keyboard(Display* display) : display_(display) {
    XDisplayKeycodes(display_, &min_code_, &max_code_);
    KeySym* map = XGetKeyboardMapping(display_, static_cast<KeyCode>(min_code_),
                                      max_code_ - min_code_ + 1, &per_code_);
    map_.assign(map, map + (max_code_ - min_code_ + 1) * per_code_);
    XFree(map);
  }

  // The key code that types `keysym`, and whether Shift must be held for it.
  KeyCode CodeFor(KeySym keysym, bool& needs_shift) {
    for (int code = min_code_; code <= max_code_; ++code) {
      for (int level = 0; level < 2 && level < per_code_; ++level) {
        if (map_[(code - min_code_) * per_code_ + level] == keysym) {
          needs_shift = level == 1;
          return static_cast<KeyCode>(code);
        }
      }
    }
    needs_shift = false;
    return BindSpare(keysym);
  }

 private:
  KeyCode BindSpare(KeySym keysym) {
    const KeyCode code = FindEmptyCode();
    if (code == 0) return 0;
    KeySym pair[2] = {keysym, keysym};
    XChangeKeyboardMapping(display_, code, 2, pair, 1);
    XSync(display_, False);
    for (int level = 0; level < per_code_; ++level) {
      map_[(code - min_code_) * per_code_ + level] = level < 2 ? keysym : NoSymbol;
    }
    return code;
  }

  KeyCode FindEmptyCode() const {
    for (int code = max_code_; code >= min_code_; --code) {
      bool empty = true;
      for (int level = 0; level < per_code_; ++level) {
        empty = empty && map_[(code - min_code_) * per_code_ + level] == NoSymbol;
      }
      if (empty) return static_cast<KeyCode>(code);
    }
    return 0;
  }

  Display* display_;
  int min_code_ = 0;
  int max_code_ = 0;
  int per_code_ = 0;
  std::vector<KeySym> map_;
};

void Press(Display* display, KeyCode code, bool down) {
  if (code != 0) XTestFakeKeyEvent(display, code, down ? True : False, CurrentTime);
}

void Type(Display* display, Keyboard& keyboard, const KeyStroke& stroke) {
  bool needs_shift = false;
  const KeyCode code = keyboard.CodeFor(stroke.keysym, needs_shift);
  if (code == 0) return;  // no key and no spare key code: the character cannot be typed
  std::vector<KeyCode> held;
  bool shift = needs_shift || (stroke.modifiers & key_modifier::kShift) != 0;
  if (shift) held.push_back(XKeysymToKeycode(display, XK_Shift_L));
  if (stroke.modifiers & key_modifier::kControl)
    held.push_back(XKeysymToKeycode(display, XK_Control_L));
  if (stroke.modifiers & key_modifier::kAlt) held.push_back(XKeysymToKeycode(display, XK_Alt_L));
  for (KeyCode modifier : held) Press(display, modifier, true);
  Press(display, code, true);
  Press(display, code, false);
  for (auto it = held.rbegin(); it != held.rend(); ++it) Press(display, *it, false);
}

}  // namespace

void X11KeySender::SendKeys(const std::string& keys) {
  const std::vector<KeyStroke> strokes = ParseKeyNotation(keys);
  X11Connection connection(display_name_);
  Display* display = connection.display();
  int event_base = 0, error_base = 0, major = 0, minor = 0;
  if (!XTestQueryExtension(display, &event_base, &error_base, &major, &minor)) {
    throw RuntimeError(kDeviceUnavailable,
                       "Device unavailable: the X server has no test extension for keystrokes");
  }
  Keyboard keyboard(display);
  for (const KeyStroke& stroke : strokes) Type(display, keyboard, stroke);
  connection.Sync();
}

}  // namespace rirerazo::os
