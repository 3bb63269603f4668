#include "os/x11_connection.h"

#include <X11/Xlib.h>

#include <cstdlib>

namespace rirerazo::os {

namespace {

// Xlib's error handler is process-wide and takes no context, so the count is too. All
// connections are used from the player's one thread.
int g_x_errors = 0;

int CountError(Display*, XErrorEvent*) {
  ++g_x_errors;
  return 0;
}

using ErrorHandler = int (*)(_XDisplay*, void*);

}  // namespace

X11Connection::X11Connection(const std::string& display_name) {
  const char* name = display_name.empty() ? std::getenv("DISPLAY") : display_name.c_str();
  if (name == nullptr || *name == '\0') {
    throw RuntimeError(kDeviceUnavailable, "Device unavailable: no X display (DISPLAY is not set)");
  }
  display_ = XOpenDisplay(name);
  if (display_ == nullptr) {
    throw RuntimeError(kDeviceUnavailable,
                       std::string("Device unavailable: cannot open X display ") + name);
  }
  previous_handler_ = reinterpret_cast<ErrorHandler>(XSetErrorHandler(CountError));
  g_x_errors = 0;
}

X11Connection::~X11Connection() {
  XSync(display_, False);
  XSetErrorHandler(reinterpret_cast<XErrorHandler>(previous_handler_));
  XCloseDisplay(display_);
}

int X11Connection::Sync() {
  XSync(display_, False);
  return g_x_errors;
}

}  // namespace rirerazo::os
