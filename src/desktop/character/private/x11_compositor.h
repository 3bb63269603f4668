// Whether a compositing manager runs on the application's X display: it then owns the
// selection _NET_WM_CM_S<screen>. With one, a window can be translucent pixel by pixel;
// without one, transparent pixels of an ARGB window show black, so the window needs a mask.
// A translucent window still takes the mouse over its transparent pixels unless its input
// region says otherwise, hence the input-shape helpers.
#pragma once

#include <QRegion>
#include <QWidget>

namespace rirerazo::desktop {

// False when the application does not run on X11.
bool CompositorRunning();

// Limits where a top-level window receives the mouse (its drawing is unaffected); does
// nothing off X11 or without the shape extension.
void SetInputShape(QWidget& window, const QRegion& region);
// The window's input region as the X server has it; empty when unknown.
QRegion InputShape(QWidget& window);

}  // namespace rirerazo::desktop
