#include "desktop/character/balloon_layout.h"

#include <QFontMetrics>
#include <algorithm>

namespace rirerazo::desktop {
namespace {

int ClampInto(int start, int length, int low, int high) {
  if (length >= high - low) return low;
  return std::clamp(start, low, high - length);
}

QRect Above(QSize size, const QRect& character, const QRect& screen) {
  int left = ClampInto(character.center().x() - size.width() / 2, size.width(), screen.left(),
                       screen.right() + 1);
  return QRect(QPoint(left, character.top() - kBalloonTailPx - size.height()), size);
}

QRect Below(QSize size, const QRect& character, const QRect& screen) {
  QRect body = Above(size, character, screen);
  body.moveTop(character.bottom() + 1 + kBalloonTailPx);
  return body;
}

QRect Beside(QSize size, const QRect& character, const QRect& screen, bool right) {
  int top = ClampInto(character.center().y() - size.height() / 2, size.height(), screen.top(),
                      screen.bottom() + 1);
  int left = right ? character.right() + 1 + kBalloonTailPx
                   : character.left() - kBalloonTailPx - size.width();
  return QRect(QPoint(left, top), size);
}

// The tip sits on the character's edge facing the body, as near the character's centre as
// the body's extent allows (so the tail never runs sideways off the body).
QPoint TipFor(const QRect& body, TailSide side, const QRect& character) {
  const QPoint centre = character.center();
  const int x =
      std::clamp(centre.x(), body.left() + 8, std::max(body.left() + 8, body.right() - 8));
  const int y = std::clamp(centre.y(), body.top() + 8, std::max(body.top() + 8, body.bottom() - 8));
  switch (side) {
    case TailSide::kBottom:
      return {x, body.bottom() + kBalloonTailPx};
    case TailSide::kTop:
      return {x, body.top() - kBalloonTailPx};
    case TailSide::kLeft:
      return {body.left() - kBalloonTailPx, y};
    case TailSide::kRight:
      return {body.right() + kBalloonTailPx, y};
  }
  return centre;
}

}  // namespace

BalloonPlacement PlaceBalloon(QSize body_size, const QRect& character, const QRect& screen) {
  BalloonPlacement placement;
  auto set = [&](const QRect& body, TailSide side) {
    placement.body = body;
    placement.side = side;
  };
  const QRect above = Above(body_size, character, screen);
  const QRect below = Below(body_size, character, screen);
  const QRect right = Beside(body_size, character, screen, true);
  if (above.top() >= screen.top()) {
    set(above, TailSide::kBottom);
  } else if (below.bottom() <= screen.bottom()) {
    set(below, TailSide::kTop);
  } else if (right.right() <= screen.right()) {
    set(right, TailSide::kLeft);
  } else {
    set(Beside(body_size, character, screen, false), TailSide::kRight);
  }
  placement.tip = TipFor(placement.body, placement.side, character);
  placement.window = placement.body.united(QRect(placement.tip, QSize(1, 1)));
  return placement;
}

QSize BalloonBodySize(const QFont& font, const QString& text, int lines, int chars_per_line,
                      bool size_to_text, QSize max_size) {
  const QFontMetrics metrics(font);
  const int padding = 2 * kBalloonPaddingPx;
  const int text_width = std::clamp(std::max(chars_per_line, 1) * metrics.averageCharWidth(), 1,
                                    std::max(1, max_size.width() - padding));
  int text_height = std::max(lines, 1) * metrics.lineSpacing();
  int width = text_width;
  if (size_to_text) {
    const QRect bounds =
        metrics.boundingRect(QRect(0, 0, text_width, 1 << 20), Qt::TextWordWrap, text);
    width = std::clamp(bounds.width(), metrics.averageCharWidth(), text_width);
    text_height = std::max(bounds.height(), metrics.lineSpacing());
  }
  return QSize(width + padding,
               std::min(text_height + padding, std::max(padding + 1, max_size.height())));
}

}  // namespace rirerazo::desktop
