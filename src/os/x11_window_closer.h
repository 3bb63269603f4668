// Closing another program's top-level window by its title, through the window manager's
// close request, as the window manager's own close button would.
#pragma once

#include <string>

#include "os/x11_connection.h"

namespace rirerazo::os {

// Finds the topmost top-level window whose title (the UTF-8 _NET_WM_NAME, else WM_NAME)
// equals `title` exactly and asks it to close: through the window manager
// (_NET_CLOSE_WINDOW) when one that supports it runs, otherwise by sending the window the
// WM_DELETE_WINDOW message itself when the window takes it. A window that takes neither is
// left alone. Returns whether a window of that title was found.
bool CloseX11WindowByTitle(X11Connection& connection, const std::string& title);

}  // namespace rirerazo::os
