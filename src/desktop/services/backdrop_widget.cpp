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
  picture_.SetColour(bgr);
  update();
}

BackdropWidget::Slot& BackdropWidget::SlotAt(int index) {
  update();  // the caller changes the slot
  return picture_.picture_slots.at(static_cast<std::size_t>(index));
}

void BackdropWidget::PlaceGlyph(QPoint top_left, const QString& tooltip) {
  picture_.glyph_at = top_left;
  glyph_tooltip_ = tooltip;
  picture_.glyph_placed = true;
  update();
}

void BackdropWidget::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  picture_.Paint(painter, rect(), true);
}

void BackdropWidget::mousePressEvent(QMouseEvent* event) {
  const QPoint at = event->position().toPoint();
  if (picture_.glyph_placed && GlyphRect().contains(at)) {
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
  if (picture_.glyph_placed && GlyphRect().contains(help->pos()) && !glyph_tooltip_.isEmpty()) {
    QToolTip::showText(help->globalPos(), glyph_tooltip_, this, GlyphRect());
  } else {
    QToolTip::hideText();
    event->ignore();
  }
  return true;
}

}  // namespace rirerazo::desktop
