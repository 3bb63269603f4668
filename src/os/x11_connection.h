// A connection to an X display for the short tasks of the player (sending keystrokes,
// closing another program's window). While a connection is open, X protocol errors (a
// window that vanished while we looked at it) are counted instead of ending the program.
#pragma once

#include <string>

#include "platform/runtime_error.h"

struct _XDisplay;

namespace rirerazo::os {

// The classic "Device unavailable" run-time error, raised when there is no display.
inline constexpr long kDeviceUnavailable = 68;

class X11Connection {
 public:
  // Opens `display_name` (empty: $DISPLAY). Throws RuntimeError kDeviceUnavailable, naming
  // the display, when there is none or it cannot be opened.
  explicit X11Connection(const std::string& display_name);
  ~X11Connection();
  X11Connection(const X11Connection&) = delete;
  X11Connection& operator=(const X11Connection&) = delete;

  _XDisplay* display() const { return display_; }

  // Waits until the server has handled every request sent so far; returns the number of
  // protocol errors seen since the connection was opened.
  int Sync();

 private:
  _XDisplay* display_ = nullptr;
  int (*previous_handler_)(_XDisplay*, void*) = nullptr;
};

}  // namespace rirerazo::os
