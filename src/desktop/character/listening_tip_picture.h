// The look of the listening tip apart from any window: a small dark label under a character
// (above it when the screen ends below), with a red mark while the microphone is open. Kept
// unlike the word balloon (light, the character's colours, a tail) so the two are never
// taken for each other. The tip window paints it; any other painter of the desktop can too.
#pragma once

#include <QColor>
#include <QFont>
#include <QPainter>
#include <QPainterPath>
#include <QRect>
#include <QString>

namespace rirerazo::desktop {

class ListeningTipPicture {
 public:
  static inline const QColor kFill{32, 44, 60};
  static inline const QColor kText{255, 255, 255};
  static inline const QColor kMark{230, 40, 40};
  static constexpr int kGapPx = 6;  // between the character and the tip

  ListeningTipPicture();

  // Lays the tip out for `text` beside `character` (screen rectangle) within `screen`;
  // true when its place, size or text changed.
  bool Update(const QString& text, bool listening, const QRect& character, const QRect& screen);

  // Where the tip lies on the screen.
  const QRect& Window() const { return window_; }
  const QString& Text() const { return text_; }
  // The rounded outline, with the window's top left at the origin.
  QPainterPath Outline() const;
  // Paints the tip with the window's top left at the painter's origin.
  void Paint(QPainter& painter) const;

 private:
  QFont font_;
  QString text_;
  bool listening_ = false;
  QRect window_;
};

}  // namespace rirerazo::desktop
