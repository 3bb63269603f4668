#include "desktop/character/balloon_picture.h"

#include <QPolygonF>
#include <algorithm>

#include "core/util/display_text.h"

namespace rirerazo::desktop {
namespace {

QColor ColourOf(std::uint32_t colour_ref) {
  const Rgb rgb = RgbFromColourRef(colour_ref);
  return QColor(rgb.red, rgb.green, rgb.blue);
}

// The tail of a speech balloon: a wedge from the body's edge to the tip.
QPainterPath SpeechTail(const QRect& body, TailSide side, QPoint tip) {
  const int half = 7;
  QPolygonF wedge;
  switch (side) {
    case TailSide::kBottom:
      wedge << QPointF(tip.x() - half, body.bottom() - 1)
            << QPointF(tip.x() + half, body.bottom() - 1);
      break;
    case TailSide::kTop:
      wedge << QPointF(tip.x() - half, body.top() + 1) << QPointF(tip.x() + half, body.top() + 1);
      break;
    case TailSide::kLeft:
      wedge << QPointF(body.left() + 1, tip.y() - half) << QPointF(body.left() + 1, tip.y() + half);
      break;
    case TailSide::kRight:
      wedge << QPointF(body.right() - 1, tip.y() - half)
            << QPointF(body.right() - 1, tip.y() + half);
      break;
  }
  wedge << QPointF(tip);
  QPainterPath path;
  path.addPolygon(wedge);
  path.closeSubpath();
  return path;
}

// The tail of a thought balloon: three bubbles shrinking toward the tip.
QPainterPath ThoughtTail(const QRect& body, TailSide side, QPoint tip) {
  QPointF edge(tip);
  switch (side) {
    case TailSide::kBottom:
      edge.setY(body.bottom());
      break;
    case TailSide::kTop:
      edge.setY(body.top());
      break;
    case TailSide::kLeft:
      edge.setX(body.left());
      break;
    case TailSide::kRight:
      edge.setX(body.right());
      break;
  }
  QPainterPath path;
  const double radii[] = {5.0, 3.5, 2.0};
  const double along[] = {0.3, 0.65, 0.9};
  for (int i = 0; i < 3; ++i) {
    const QPointF centre = edge + (QPointF(tip) - edge) * along[i];
    path.addEllipse(centre, radii[i], radii[i]);
  }
  return path;
}

}  // namespace

BalloonText BalloonTextOf(const runtime::BalloonView& view) {
  std::string_view shown = view.Shown();
  if (IsValidUtf8(view.text)) {
    // Back off to the start of a character, so a cut inside one never shows half of it.
    std::size_t length = shown.size();
    while (length > 0 && length < view.text.size() &&
           (static_cast<unsigned char>(view.text[length]) & 0xC0) == 0x80) {
      --length;
    }
    return {QString::fromUtf8(view.text.data(), qsizetype(view.text.size())),
            QString::fromUtf8(view.text.data(), qsizetype(length))};
  }
  return {QString::fromStdString(DisplayTextUtf8(view.text)),
          QString::fromStdString(DisplayTextUtf8(shown))};
}

BalloonPicture::Change BalloonPicture::Update(const runtime::BalloonView& view,
                                              const QRect& character, const QRect& screen) {
  Change change;
  if (!view.visible || view.settings == nullptr || !view.settings->On()) return change;
  change.visible = true;
  const runtime::BalloonSettings& settings = *view.settings;
  BalloonText text = BalloonTextOf(view);
  Look look{settings.font_name,
            settings.font_size,
            settings.lines,
            settings.chars_per_line,
            (settings.style & runtime::kBalloonSizeToText) != 0,
            view.thought,
            settings.text_colour,
            settings.back_colour,
            settings.border_colour,
            text.full,
            character,
            screen};
  if (!user_font_name_.empty()) look.font_name = user_font_name_;
  if (user_font_size_pt_ > 0) look.font_size = user_font_size_pt_;
  if (!laid_out_ || !(look == look_)) {
    Relayout(look);
    change.relaid = true;
  }
  if (text.shown != shown_text_) {
    shown_text_ = std::move(text.shown);
    change.text_changed = true;
  }
  return change;
}

void BalloonPicture::SetUserFont(std::string name, int size_pt) {
  user_font_name_ = std::move(name);
  user_font_size_pt_ = size_pt;
  laid_out_ = false;  // the next Update lays the balloon out in the new font
}

void BalloonPicture::Relayout(const Look& look) {
  look_ = look;
  laid_out_ = true;
  full_text_ = look.text;
  font_ = QFont(QString::fromStdString(DisplayTextUtf8(look.font_name)));
  font_.setPointSize(std::clamp(look.font_size, 1, runtime::kMaxFontSize));
  const QSize max_body(look.screen.width() - 2 * kBalloonTailPx, look.screen.height() / 2);
  const QSize body = BalloonBodySize(font_, full_text_, look.lines, look.chars_per_line,
                                     look.size_to_text, max_body);
  placement_ = PlaceBalloon(body, look.character, look.screen);
}

QPainterPath BalloonPicture::Outline() const {
  const QPoint origin = placement_.window.topLeft();
  const QRect body = placement_.body.translated(-origin);
  const QPoint tip = placement_.tip - origin;
  QPainterPath outline;
  if (look_.thought) {
    outline.addRoundedRect(QRectF(body).adjusted(0.5, 0.5, -0.5, -0.5), 14, 14);
    return outline.united(ThoughtTail(body, placement_.side, tip));
  }
  outline.addRoundedRect(QRectF(body).adjusted(0.5, 0.5, -0.5, -0.5), 6, 6);
  return outline.united(SpeechTail(body, placement_.side, tip));
}

QRect BalloonPicture::TextArea() const {
  return placement_.body.translated(-placement_.window.topLeft())
      .adjusted(kBalloonPaddingPx, kBalloonPaddingPx, -kBalloonPaddingPx, -kBalloonPaddingPx);
}

void BalloonPicture::Paint(QPainter& painter) const {
  painter.save();
  painter.setPen(QPen(ColourOf(look_.border_colour), 1));
  painter.setBrush(ColourOf(look_.back_colour));
  painter.drawPath(Outline());
  const QRect text_area = TextArea();
  painter.setFont(font_);
  painter.setPen(ColourOf(look_.text_colour));
  painter.setClipRect(text_area, Qt::IntersectClip);
  // Text longer than the balloon holds scrolls: the latest lines stay in view.
  const QRect needed =
      painter.boundingRect(QRect(text_area.left(), text_area.top(), text_area.width(), 1 << 20),
                           Qt::TextWordWrap, shown_text_);
  const int overflow = std::max(0, needed.height() - text_area.height());
  painter.drawText(QRect(text_area.left(), text_area.top() - overflow, text_area.width(),
                         text_area.height() + overflow),
                   Qt::TextWordWrap | Qt::AlignLeft | Qt::AlignTop, shown_text_);
  painter.restore();
}

}  // namespace rirerazo::desktop
