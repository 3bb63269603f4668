// Where a word balloon goes and how big it is: plain geometry, apart from the window, so the
// rules can be tested without a display.
//
// The balloon sits above the character, centred on it and kept on the screen; when there is
// no room above it flips below, and when there is room neither above nor below it goes beside
// the character (right, else left). The tail leaves the balloon's side that faces the
// character and points at the character's edge.
#pragma once

#include <QFont>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>
#include <cstdint>

namespace rirerazo::desktop {

inline constexpr int kBalloonTailPx = 20;    // from the body's edge to the tip
inline constexpr int kBalloonPaddingPx = 6;  // between the border and the text

enum class TailSide : std::uint8_t { kBottom, kTop, kLeft, kRight };

struct BalloonPlacement {
  QRect body;  // screen coordinates
  TailSide side = TailSide::kBottom;
  QPoint tip;    // screen coordinates, on the character's edge
  QRect window;  // body and tail together
};

BalloonPlacement PlaceBalloon(QSize body_size, const QRect& character, const QRect& screen);

// The body's size: without size-to-text, `lines` lines of `chars_per_line` average
// characters; with it, the wrapped text at that width at most. Never wider or taller than
// the screen allows (`max_size`).
QSize BalloonBodySize(const QFont& font, const QString& text, int lines, int chars_per_line,
                      bool size_to_text, QSize max_size);

// 0x00BBGGRR as red, green and blue.
struct Rgb {
  int red = 0;
  int green = 0;
  int blue = 0;
};
inline Rgb RgbFromColourRef(std::uint32_t colour) {
  return {int(colour & 0xFF), int((colour >> 8) & 0xFF), int((colour >> 16) & 0xFF)};
}

}  // namespace rirerazo::desktop
