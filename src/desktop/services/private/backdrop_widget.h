// The window behind BackdropWindow: paints the colour, the visible picture slots and the close
// glyph, shows the glyph's tooltip and turns mouse presses into listener calls.
#pragma once

#include <QString>
#include <QWidget>
#include <functional>

#include "desktop/services/backdrop_picture.h"
#include "platform/backdrop.h"

namespace rirerazo::desktop {

class BackdropWidget final : public QWidget {
 public:
  using Slot = BackdropPicture::Slot;

  BackdropWidget();

  void SetColor(std::uint32_t bgr);
  Slot& SlotAt(int index);
  void PlaceGlyph(QPoint top_left, const QString& tooltip);
  // Where a listener call goes; called from the message loop, never inside an event handler.
  void SetReporter(std::function<void(std::function<void(platform::BackdropEvents&)>)> report) {
    report_ = std::move(report);
  }

  static constexpr int kGlyphWidthPx = BackdropPicture::kGlyphWidthPx;
  static constexpr int kGlyphHeightPx = BackdropPicture::kGlyphHeightPx;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  bool event(QEvent* event) override;

 private:
  QRect GlyphRect() const { return picture_.GlyphRect(); }

  BackdropPicture picture_;
  QString glyph_tooltip_;
  bool glyph_pressed_ = false;
  std::function<void(std::function<void(platform::BackdropEvents&)>)> report_;
};

}  // namespace rirerazo::desktop
