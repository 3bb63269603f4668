#include "desktop/character/private/x11_compositor.h"

#include <QGuiApplication>
#include <string>

// After Qt: Xlib's macros (None, Bool, Status) would break Qt's headers.
#include <X11/Xlib.h>

namespace rirerazo::desktop {

bool CompositorRunning() {
  auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
  Display* display = x11 ? x11->display() : nullptr;
  if (display == nullptr) return false;
  const std::string name = "_NET_WM_CM_S" + std::to_string(DefaultScreen(display));
  Atom selection = XInternAtom(display, name.c_str(), False);
  return selection != None && XGetSelectionOwner(display, selection) != None;
}

}  // namespace rirerazo::desktop
