#include "desktop/character/listening_tip_picture.h"

#include <QFontMetrics>
#include <algorithm>

namespace rirerazo::desktop {
namespace {

constexpr int kPaddingX = 10;
constexpr int kPaddingY = 5;
constexpr int kMarkPx = 8;  // the diameter of the listening mark
constexpr qreal kCornerPx = 8;
constexpr int kMaxTextPx = 320;  // a long phrase is cut with an ellipsis

}  // namespace

ListeningTipPicture::ListeningTipPicture() {
  font_.setPointSize(10);
  font_.setBold(true);
}

bool ListeningTipPicture::Update(const QString& text, bool listening, const QRect& character,
                                 const QRect& screen) {
  const QFontMetrics metrics(font_);
  const QString shown = metrics.elidedText(text, Qt::ElideRight, kMaxTextPx);
  const int mark = listening ? kMarkPx + kPaddingX / 2 : 0;
  const QSize size(metrics.horizontalAdvance(shown) + mark + 2 * kPaddingX,
                   metrics.height() + 2 * kPaddingY);
  // Centred under the character; above it where the screen ends; always on the screen.
  QPoint at(character.center().x() - size.width() / 2, character.bottom() + 1 + kGapPx);
  if (at.y() + size.height() > screen.bottom() + 1) {
    at.setY(character.top() - kGapPx - size.height());
  }
  at.setX(std::clamp(at.x(), screen.left(),
                     std::max(screen.left(), screen.right() + 1 - size.width())));
  at.setY(std::clamp(at.y(), screen.top(),
                     std::max(screen.top(), screen.bottom() + 1 - size.height())));
  const QRect window(at, size);
  if (window == window_ && shown == text_ && listening == listening_) return false;
  window_ = window;
  text_ = shown;
  listening_ = listening;
  return true;
}

QPainterPath ListeningTipPicture::Outline() const {
  QPainterPath path;
  path.addRoundedRect(QRectF(QPointF(0, 0), QSizeF(window_.size())), kCornerPx, kCornerPx);
  return path;
}

void ListeningTipPicture::Paint(QPainter& painter) const {
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing);
  painter.fillPath(Outline(), kFill);
  int text_left = kPaddingX;
  if (listening_) {
    const int top = (window_.height() - kMarkPx) / 2;
    painter.setPen(Qt::NoPen);
    painter.setBrush(kMark);
    painter.drawEllipse(QRect(kPaddingX, top, kMarkPx, kMarkPx));
    text_left += kMarkPx + kPaddingX / 2;
  }
  painter.setFont(font_);
  painter.setPen(kText);
  painter.drawText(QRect(text_left, 0, window_.width() - text_left, window_.height()),
                   Qt::AlignLeft | Qt::AlignVCenter, text_);
  painter.restore();
}

}  // namespace rirerazo::desktop
