// The listening tip on the desktop: a window of its own beside the character that listens
// (ListeningTipPicture), above other windows, taking no focus and no mouse. Shaped like its
// rounded outline: translucent with a compositing manager, masked without one.
#pragma once

#include <QRect>

#include "desktop/character/listening_tip_picture.h"
#include "desktop/character/overlay_window.h"

namespace rirerazo::desktop {

class ListeningTipWindow : public OverlayWindow {
 public:
  explicit ListeningTipWindow(bool per_pixel_alpha);

  // Shows `text` beside `character` (screen rectangle), or moves the tip after it.
  void Present(const QString& text, bool listening, const QRect& character);
  const ListeningTipPicture& Picture() const { return picture_; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  ListeningTipPicture picture_;
};

}  // namespace rirerazo::desktop
