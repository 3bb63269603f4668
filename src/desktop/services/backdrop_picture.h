// What the backdrop shows, apart from any window: its colour, two picture slots stretched
// to their places and the close glyph, painted with a QPainter. The backdrop window paints
// it on itself; the video renderer paints it onto its canvas. Places are in the backdrop's
// own pixels (its top-left corner is 0,0).
#pragma once

#include <QColor>
#include <QImage>
#include <QPainter>
#include <QPoint>
#include <QRect>
#include <array>
#include <cstdint>

#include "platform/picture.h"

namespace rirerazo::desktop {

struct BackdropPicture {
  struct Slot {
    QImage picture;  // null when the slot holds none
    QRect place_px;
    bool visible = false;
  };

  static constexpr int kGlyphWidthPx = 16;
  static constexpr int kGlyphHeightPx = 14;

  QColor colour = Qt::black;
  std::array<Slot, 2> picture_slots;
  bool glyph_placed = false;
  QPoint glyph_at;

  void SetColour(std::uint32_t bgr) {
    colour = QColor(bgr & 0xff, (bgr >> 8) & 0xff, (bgr >> 16) & 0xff);
  }
  QRect GlyphRect() const { return {glyph_at, QSize(kGlyphWidthPx, kGlyphHeightPx)}; }

  // Fills `area` with the colour and draws the visible pictures; the close glyph too when
  // `with_glyph` (a video has no one to click it).
  void Paint(QPainter& painter, const QRect& area, bool with_glyph) const;
};

// A raised light-grey button face with a black cross in the middle.
void PaintCloseGlyph(QPainter& painter, const QRect& face);

// A decoded picture as a Qt image of its own (a null image for an empty picture).
QImage ImageOfPicture(const platform::Picture& picture);

}  // namespace rirerazo::desktop
