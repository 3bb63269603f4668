#include "desktop/services/private/backdrop_widget.h"

#include <QHelpEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QTimer>
#include <QToolTip>
#include <optional>

namespace rirerazo::desktop {
namespace {

std::optional<platform::MouseButton> ButtonOf(Qt::MouseButton button) {
  switch (button) {
    case Qt::LeftButton:
      return platform::MouseButton::kLeft;
    case Qt::RightButton:
      return platform::MouseButton::kRight;
    case Qt::MiddleButton:
      return platform::MouseButton::kMiddle;
    default:
      return std::nullopt;
  }
}

}  // namespace

BackdropWidget::BackdropWidget() {
  setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
  setAttribute(Qt::WA_OpaquePaintEvent);
  setMouseTracking(false);
}

void BackdropWidget::SetColor(std::uint32_t bgr) {
  color_ = QColor(bgr & 0xff, (bgr >> 8) & 0xff, (bgr >> 16) & 0xff);
  update();
}

BackdropWidget::Slot& BackdropWidget::SlotAt(int index) {
  update();  // the caller changes the slot
  return slots_.at(static_cast<std::size_t>(index));
}

void BackdropWidget::PlaceGlyph(QPoint top_left, const QString& tooltip) {
  glyph_at_ = top_left;
  glyph_tooltip_ = tooltip;
  glyph_placed_ = true;
  update();
}

void BackdropWidget::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), color_);
  painter.setRenderHint(QPainter::SmoothPixmapTransform);
  for (const Slot& slot : slots_) {
    if (slot.visible && !slot.picture.isNull()) painter.drawImage(slot.place_px, slot.picture);
  }
  if (glyph_placed_) PaintGlyph(painter);
}

// A raised light-grey button face (white top-left edges, dark bottom-right ones) with a
// black cross in the middle.
void BackdropWidget::PaintGlyph(QPainter& painter) const {
  const QRect face = GlyphRect();
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

void BackdropWidget::mousePressEvent(QMouseEvent* event) {
  const QPoint at = event->position().toPoint();
  if (glyph_placed_ && GlyphRect().contains(at)) {
    glyph_pressed_ = event->button() == Qt::LeftButton;
    return;  // the glyph is a control of its own, not the background
  }
  const std::optional<platform::MouseButton> button = ButtonOf(event->button());
  if (!button || !report_) return;
  const int x_twips = at.x() * platform::kTwipsPerPixel;
  const int y_twips = at.y() * platform::kTwipsPerPixel;
  report_([button = *button, x_twips, y_twips](platform::BackdropEvents& listener) {
    listener.OnBackdropMouseDown(button, x_twips, y_twips);
  });
}

// A click on the glyph is a left press and release both on it.
void BackdropWidget::mouseReleaseEvent(QMouseEvent* event) {
  const bool clicked = glyph_pressed_ && event->button() == Qt::LeftButton &&
                       GlyphRect().contains(event->position().toPoint());
  glyph_pressed_ = false;
  if (clicked && report_) {
    report_([](platform::BackdropEvents& listener) { listener.OnBackdropCloseClick(); });
  }
}

bool BackdropWidget::event(QEvent* event) {
  if (event->type() != QEvent::ToolTip) return QWidget::event(event);
  auto* help = static_cast<QHelpEvent*>(event);
  if (glyph_placed_ && GlyphRect().contains(help->pos()) && !glyph_tooltip_.isEmpty()) {
    QToolTip::showText(help->globalPos(), glyph_tooltip_, this, GlyphRect());
  } else {
    QToolTip::hideText();
    event->ignore();
  }
  return true;
}

}  // namespace rirerazo::desktop
