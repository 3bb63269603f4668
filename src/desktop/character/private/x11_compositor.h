// Whether a compositing manager runs on the application's X display: it then owns the
// selection _NET_WM_CM_S<screen>. With one, a window can be translucent pixel by pixel;
// without one, transparent pixels of an ARGB window show black, so the window needs a mask.
#pragma once

namespace rirerazo::desktop {

// False when the application does not run on X11.
bool CompositorRunning();

}  // namespace rirerazo::desktop
