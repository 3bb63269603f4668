// A window drawn beside a character (its word balloon, its listening tip): above other
// windows, taking no focus and no mouse, shaped like the picture it shows — translucent
// where a compositing manager runs, masked to the picture's outline where none does.
#pragma once

#include <QPainterPath>
#include <QRect>
#include <QWidget>

class QPainter;

namespace rirerazo::desktop {

class OverlayWindow : public QWidget {
 public:
  explicit OverlayWindow(bool per_pixel_alpha);

 protected:
  // The screen the character (a screen rectangle) is on, for keeping the overlay on it.
  static QRect ScreenAround(const QRect& character);
  // Places the window at `window` and, without per-pixel alpha, masks it to `outline`
  // (in window coordinates).
  void Reshape(const QRect& window, const QPainterPath& outline);
  // Starts a paint: clears the window to transparent where it is translucent.
  void ClearForPainting(QPainter& painter) const;
  // Shows the window on top if it is hidden.
  void ShowOnTop();

  bool PerPixelAlpha() const { return per_pixel_alpha_; }

 private:
  bool per_pixel_alpha_;
};

}  // namespace rirerazo::desktop
