#include "desktop/character/balloon_window.h"

#include <QPainter>

namespace rirerazo::desktop {

BalloonWindow::BalloonWindow(bool per_pixel_alpha) : OverlayWindow(per_pixel_alpha) {}

void BalloonWindow::Apply(const runtime::BalloonView& view, const QRect& character) {
  const BalloonPicture::Change change =
      picture_.Update(view, character, ScreenAround(character));
  if (!change.visible) {
    if (isVisible()) hide();
    return;
  }
  if (change.relaid) Reshape(picture_.Placement().window, picture_.Outline());
  if (change.relaid || change.text_changed) update();
  ShowOnTop();
}

void BalloonWindow::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  ClearForPainting(painter);
  if (PerPixelAlpha()) painter.setRenderHint(QPainter::Antialiasing);
  picture_.Paint(painter);
}

}  // namespace rirerazo::desktop
