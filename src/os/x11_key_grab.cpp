#include "os/x11_key_grab.h"

#include <X11/XKBlib.h>
#include <X11/Xlib.h>

namespace rirerazo::os {

namespace {

Window Root(Display* display) {
  return DefaultRootWindow(display);
}

}  // namespace

X11KeyGrab::X11KeyGrab(const std::string& key_name, const std::string& display_name)
    : connection_(display_name) {
  Display* display = connection_.display();
  const KeySym keysym = XStringToKeysym(key_name.c_str());
  if (keysym == NoSymbol) {
    throw RuntimeError(err::kInvalidProcedureCall, "\"" + key_name + "\" names no key");
  }
  keycode_ = XKeysymToKeycode(display, keysym);
  if (keycode_ == 0) {
    throw RuntimeError(err::kInvalidProcedureCall, "no key of the keyboard is " + key_name);
  }
  Bool supported = False;
  detectable_repeat_ = XkbSetDetectableAutoRepeat(display, True, &supported) && supported;
  // A key another program grabbed (with any of the modifiers) fails the grab asynchronously:
  // the error is counted by the connection, so compare the count across a round trip.
  const int errors_before = connection_.Sync();
  XGrabKey(display, keycode_, AnyModifier, Root(display), False, GrabModeAsync, GrabModeAsync);
  if (connection_.Sync() != errors_before) {
    throw RuntimeError(err::kInvalidProcedureCall, "another program holds the key " + key_name);
  }
}

X11KeyGrab::~X11KeyGrab() {
  XUngrabKey(connection_.display(), keycode_, AnyModifier, Root(connection_.display()));
}

int X11KeyGrab::fd() const {
  return ConnectionNumber(connection_.display());
}

std::vector<X11KeyGrab::Change> X11KeyGrab::TakeChanges() {
  Display* display = connection_.display();
  std::vector<Change> changes;
  while (XPending(display) > 0) {
    XEvent event;
    XNextEvent(display, &event);
    if (event.type != KeyPress && event.type != KeyRelease) continue;
    if (event.xkey.keycode != keycode_) continue;
    if (event.type == KeyRelease && !detectable_repeat_ && XPending(display) > 0) {
      // Without detectable auto-repeat a repeat is a release and a press at one instant.
      XEvent next;
      XPeekEvent(display, &next);
      if (next.type == KeyPress && next.xkey.keycode == keycode_ &&
          next.xkey.time == event.xkey.time) {
        XNextEvent(display, &next);
        continue;
      }
    }
    const bool pressed = event.type == KeyPress;
    if (pressed == held_) continue;  // a repeat of a held key, or a stray release
    held_ = pressed;
    changes.push_back(pressed ? Change::kPressed : Change::kReleased);
  }
  return changes;
}

}  // namespace rirerazo::os
