#include "desktop/character/overlay_window.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QScreen>

#include "desktop/character/frame_cache.h"

namespace rirerazo::desktop {
namespace {

constexpr Qt::WindowFlags kOverlayWindowFlags =
    Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::X11BypassWindowManagerHint |
    Qt::WindowDoesNotAcceptFocus | Qt::WindowTransparentForInput;

}  // namespace

OverlayWindow::OverlayWindow(bool per_pixel_alpha)
    : QWidget(nullptr, kOverlayWindowFlags), per_pixel_alpha_(per_pixel_alpha) {
  setAttribute(Qt::WA_ShowWithoutActivating);
  setAttribute(Qt::WA_X11DoNotAcceptFocus);
  setAttribute(Qt::WA_NoSystemBackground);
  if (per_pixel_alpha_) setAttribute(Qt::WA_TranslucentBackground);
}

QRect OverlayWindow::ScreenAround(const QRect& character) {
  QScreen* screen = QGuiApplication::screenAt(character.center());
  if (screen == nullptr) screen = QGuiApplication::primaryScreen();
  return screen ? screen->geometry() : QRect(0, 0, 1024, 768);
}

void OverlayWindow::Reshape(const QRect& window, const QPainterPath& outline) {
  setGeometry(window);
  if (per_pixel_alpha_) return;
  QImage shape(window.size(), QImage::Format_ARGB32_Premultiplied);
  shape.fill(Qt::transparent);
  QPainter painter(&shape);
  painter.fillPath(outline, Qt::black);
  painter.end();
  setMask(OpaqueRegion(shape));
}

void OverlayWindow::ClearForPainting(QPainter& painter) const {
  if (!per_pixel_alpha_) return;
  painter.setCompositionMode(QPainter::CompositionMode_Source);
  painter.fillRect(rect(), Qt::transparent);
  painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
}

void OverlayWindow::ShowOnTop() {
  if (isVisible()) return;
  show();
  raise();
}

}  // namespace rirerazo::desktop
