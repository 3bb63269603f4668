#include "desktop/services/backdrop_picture.h"

namespace rirerazo::desktop {

void BackdropPicture::Paint(QPainter& painter, const QRect& area, bool with_glyph) const {
  painter.save();
  painter.fillRect(area, colour);
  painter.setRenderHint(QPainter::SmoothPixmapTransform);
  for (const Slot& slot : picture_slots) {
    if (slot.visible && !slot.picture.isNull()) painter.drawImage(slot.place_px, slot.picture);
  }
  if (with_glyph && glyph_placed) PaintCloseGlyph(painter, GlyphRect());
  painter.restore();
}

// White top-left edges and dark bottom-right ones make the face look raised.
void PaintCloseGlyph(QPainter& painter, const QRect& face) {
  painter.fillRect(face, QColor(192, 192, 192));
  painter.setPen(Qt::white);
  painter.drawLine(face.topLeft(), face.topRight() - QPoint(1, 0));
  painter.drawLine(face.topLeft(), face.bottomLeft() - QPoint(0, 1));
  painter.setPen(QColor(64, 64, 64));
  painter.drawLine(face.bottomLeft(), face.bottomRight());
  painter.drawLine(face.topRight(), face.bottomRight());
  painter.setPen(QColor(128, 128, 128));
  painter.drawLine(face.bottomLeft() + QPoint(1, -1), face.bottomRight() - QPoint(1, 1));
  painter.drawLine(face.topRight() + QPoint(-1, 1), face.bottomRight() - QPoint(1, 1));
  painter.setPen(QPen(Qt::black, 1));
  const QPoint at = face.topLeft();
  for (int step = 0; step < 6; ++step) {  // two pixels thick, 6 steps, centred
    painter.drawLine(at + QPoint(4 + step, 3 + step), at + QPoint(5 + step, 3 + step));
    painter.drawLine(at + QPoint(10 - step, 3 + step), at + QPoint(11 - step, 3 + step));
  }
}

QImage ImageOfPicture(const platform::Picture& picture) {
  if (picture.width_px <= 0 || picture.height_px <= 0 ||
      picture.rgba.size() < static_cast<std::size_t>(picture.width_px) * picture.height_px * 4) {
    return {};
  }
  return QImage(picture.rgba.data(), picture.width_px, picture.height_px, picture.width_px * 4,
                QImage::Format_RGBA8888)
      .copy();
}

}  // namespace rirerazo::desktop
