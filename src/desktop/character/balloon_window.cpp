#include "desktop/character/balloon_window.h"

#include <QGuiApplication>
#include <QPainter>
#include <QScreen>

#include "desktop/character/frame_cache.h"

namespace rirerazo::desktop {
namespace {

constexpr Qt::WindowFlags kBalloonWindowFlags =
    Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::X11BypassWindowManagerHint |
    Qt::WindowDoesNotAcceptFocus | Qt::WindowTransparentForInput;

QRect ScreenAround(const QRect& character) {
  QScreen* screen = QGuiApplication::screenAt(character.center());
  if (screen == nullptr) screen = QGuiApplication::primaryScreen();
  return screen ? screen->geometry() : QRect(0, 0, 1024, 768);
}

}  // namespace

BalloonWindow::BalloonWindow(bool per_pixel_alpha)
    : QWidget(nullptr, kBalloonWindowFlags), per_pixel_alpha_(per_pixel_alpha) {
  setAttribute(Qt::WA_ShowWithoutActivating);
  setAttribute(Qt::WA_X11DoNotAcceptFocus);
  setAttribute(Qt::WA_NoSystemBackground);
  if (per_pixel_alpha_) setAttribute(Qt::WA_TranslucentBackground);
}

void BalloonWindow::Apply(const runtime::BalloonView& view, const QRect& character) {
  const BalloonPicture::Change change =
      picture_.Update(view, character, ScreenAround(character));
  if (!change.visible) {
    if (isVisible()) hide();
    return;
  }
  if (change.relaid) Reshape();
  if (change.relaid || change.text_changed) update();
  if (!isVisible()) {
    show();
    raise();
  }
}

void BalloonWindow::Reshape() {
  setGeometry(picture_.Placement().window);
  if (per_pixel_alpha_) return;
  QImage shape(picture_.Placement().window.size(), QImage::Format_ARGB32_Premultiplied);
  shape.fill(Qt::transparent);
  QPainter painter(&shape);
  painter.fillPath(picture_.Outline(), Qt::black);
  painter.end();
  setMask(OpaqueRegion(shape));
}

void BalloonWindow::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  if (per_pixel_alpha_) {
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.fillRect(rect(), Qt::transparent);
    painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    painter.setRenderHint(QPainter::Antialiasing);
  }
  picture_.Paint(painter);
}

}  // namespace rirerazo::desktop
