#include "desktop/character/listening_tip_window.h"

#include <QGuiApplication>
#include <QPainter>
#include <QScreen>

#include "desktop/character/frame_cache.h"

namespace rirerazo::desktop {
namespace {

constexpr Qt::WindowFlags kTipWindowFlags =
    Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::X11BypassWindowManagerHint |
    Qt::WindowDoesNotAcceptFocus | Qt::WindowTransparentForInput;

QRect ScreenAround(const QRect& character) {
  QScreen* screen = QGuiApplication::screenAt(character.center());
  if (screen == nullptr) screen = QGuiApplication::primaryScreen();
  return screen ? screen->geometry() : QRect(0, 0, 1024, 768);
}

}  // namespace

ListeningTipWindow::ListeningTipWindow(bool per_pixel_alpha)
    : QWidget(nullptr, kTipWindowFlags), per_pixel_alpha_(per_pixel_alpha) {
  setAttribute(Qt::WA_ShowWithoutActivating);
  setAttribute(Qt::WA_X11DoNotAcceptFocus);
  setAttribute(Qt::WA_NoSystemBackground);
  if (per_pixel_alpha_) setAttribute(Qt::WA_TranslucentBackground);
}

void ListeningTipWindow::Present(const QString& text, bool listening, const QRect& character) {
  if (picture_.Update(text, listening, character, ScreenAround(character))) {
    setGeometry(picture_.Window());
    if (!per_pixel_alpha_) {
      QImage shape(picture_.Window().size(), QImage::Format_ARGB32_Premultiplied);
      shape.fill(Qt::transparent);
      QPainter painter(&shape);
      painter.fillPath(picture_.Outline(), Qt::black);
      painter.end();
      setMask(OpaqueRegion(shape));
    }
    update();
  }
  if (!isVisible()) {
    show();
    raise();
  }
}

void ListeningTipWindow::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  if (per_pixel_alpha_) {
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.fillRect(rect(), Qt::transparent);
    painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
  }
  picture_.Paint(painter);
}

}  // namespace rirerazo::desktop
