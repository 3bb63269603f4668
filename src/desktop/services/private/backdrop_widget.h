// The window behind BackdropWindow: paints the colour, the visible picture slots and the close
// glyph, shows the glyph's tooltip and turns mouse presses into listener calls.
#pragma once

#include <QImage>
#include <QRect>
#include <QString>
#include <QWidget>
#include <array>
#include <functional>

#include "platform/backdrop.h"

namespace rirerazo::desktop {

class BackdropWidget final : public QWidget {
 public:
  struct Slot {
    QImage picture;  // null when the slot holds none
    QRect place_px;
    bool visible = false;
  };

  BackdropWidget();

  void SetColor(std::uint32_t bgr);
  Slot& SlotAt(int index);
  void PlaceGlyph(QPoint top_left, const QString& tooltip);
  // Where a listener call goes; called from the message loop, never inside an event handler.
  void SetReporter(std::function<void(std::function<void(platform::BackdropEvents&)>)> report) {
    report_ = std::move(report);
  }

  static constexpr int kGlyphWidthPx = 16;
  static constexpr int kGlyphHeightPx = 14;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  bool event(QEvent* event) override;

 private:
  QRect GlyphRect() const { return {glyph_at_, QSize(kGlyphWidthPx, kGlyphHeightPx)}; }
  void PaintGlyph(QPainter& painter) const;

  QColor color_ = Qt::black;
  std::array<Slot, 2> slots_;
  QPoint glyph_at_;
  bool glyph_placed_ = false;
  QString glyph_tooltip_;
  bool glyph_pressed_ = false;
  std::function<void(std::function<void(platform::BackdropEvents&)>)> report_;
};

}  // namespace rirerazo::desktop
