#include "desktop/character/private/x11_compositor.h"

#include <QGuiApplication>
#include <string>
#include <vector>

// After Qt: Xlib's macros (None, Bool, Status) would break Qt's headers.
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/shape.h>

namespace rirerazo::desktop {
namespace {

Display* AppDisplay() {
  auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
  return x11 ? x11->display() : nullptr;
}

bool HasShape(Display* display) {
  int event_base = 0, error_base = 0;
  return display != nullptr && XShapeQueryExtension(display, &event_base, &error_base);
}

}  // namespace

bool CompositorRunning() {
  Display* display = AppDisplay();
  if (display == nullptr) return false;
  const std::string name = "_NET_WM_CM_S" + std::to_string(DefaultScreen(display));
  Atom selection = XInternAtom(display, name.c_str(), False);
  return selection != None && XGetSelectionOwner(display, selection) != None;
}

void SetInputShape(QWidget& window, const QRegion& region) {
  Display* display = AppDisplay();
  if (!HasShape(display)) return;
  std::vector<XRectangle> rects;
  for (const QRect& rect : region) {
    rects.push_back({short(rect.x()), short(rect.y()), static_cast<unsigned short>(rect.width()),
                     static_cast<unsigned short>(rect.height())});
  }
  XShapeCombineRectangles(display, Window(window.winId()), ShapeInput, 0, 0, rects.data(),
                          int(rects.size()), ShapeSet, Unsorted);
  XFlush(display);
}

QRegion InputShape(QWidget& window) {
  Display* display = AppDisplay();
  if (!HasShape(display)) return {};
  int count = 0, ordering = 0;
  XRectangle* rects =
      XShapeGetRectangles(display, Window(window.winId()), ShapeInput, &count, &ordering);
  QRegion region;
  for (int i = 0; i < count; ++i) {
    region += QRect(rects[i].x, rects[i].y, rects[i].width, rects[i].height);
  }
  if (rects) XFree(rects);
  return region;
}

}  // namespace rirerazo::desktop
