#include "desktop/character/listening_tip_window.h"

#include <QPainter>

namespace rirerazo::desktop {

ListeningTipWindow::ListeningTipWindow(bool per_pixel_alpha) : OverlayWindow(per_pixel_alpha) {}

void ListeningTipWindow::Present(const QString& text, bool listening, const QRect& character) {
  if (picture_.Update(text, listening, character, ScreenAround(character))) {
    Reshape(picture_.Window(), picture_.Outline());
    update();
  }
  ShowOnTop();
}

void ListeningTipWindow::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  ClearForPainting(painter);
  picture_.Paint(painter);
}

}  // namespace rirerazo::desktop
