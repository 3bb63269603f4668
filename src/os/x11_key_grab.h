// One key of the keyboard held for the player wherever the focus is (the push-to-talk key):
// a passive grab on the root window, with any modifiers, on a display connection of its
// own. The owner watches fd() and calls TakeChanges when it is readable.
//
// A held key repeats: where the server can say so (the keyboard extension's detectable
// auto-repeat) repeats come as presses without releases, otherwise as a release and a press
// at the same instant; either way they are dropped, so a hold is one press and one release.
#pragma once

#include <string>
#include <vector>

#include "os/x11_connection.h"

namespace rirerazo::os {

class X11KeyGrab {
 public:
  enum class Change { kPressed, kReleased };

  // Grabs the key whose X keysym name is `key_name` ("Scroll_Lock", "F12") on
  // `display_name` (empty: $DISPLAY). Throws RuntimeError with the reason when there is no
  // display, the name is no key, no key of the keyboard has it, or another program holds it.
  explicit X11KeyGrab(const std::string& key_name, const std::string& display_name = "");
  ~X11KeyGrab();
  X11KeyGrab(const X11KeyGrab&) = delete;
  X11KeyGrab& operator=(const X11KeyGrab&) = delete;

  // Readable when the server sent something.
  int fd() const;
  // Everything the server sent so far, as changes of the key (repeats dropped).
  std::vector<Change> TakeChanges();
  bool Held() const { return held_; }

 private:
  X11Connection connection_;
  unsigned char keycode_ = 0;
  bool detectable_repeat_ = false;
  bool held_ = false;
};

}  // namespace rirerazo::os
