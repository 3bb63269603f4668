// The backdrop window on a real X server: what it paints (checked on a screenshot) and what
// the user's clicks report.
#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QMouseEvent>
#include <QScreen>

#include "desktop/services/backdrop_window.h"
#include "services_support.h"
#include "support/qt_desktop.h"

namespace rirerazo::desktop {
namespace {

using platform::RectTwips;
using testing::PumpUntil;
constexpr int kTw = platform::kTwipsPerPixel;

QWidget* BackdropWidgetOnScreen() {
  for (QWidget* widget : QApplication::topLevelWidgets()) {
    if (widget->objectName() == BackdropWindow::kObjectName) return widget;
  }
  return nullptr;
}

// Pumps events until the screen shows `rgb` at `at`; returns the colour seen last.
QColor ScreenColorWhen(QPoint at, QColor rgb) {
  QColor seen;
  PumpUntil([&] {
    seen = QGuiApplication::primaryScreen()->grabWindow(0).toImage().pixelColor(at);
    return seen.rgb() == rgb.rgb();
  });
  return seen;
}

std::shared_ptr<const platform::Picture> SolidPicture(int width, int height, QColor color) {
  auto picture = std::make_shared<platform::Picture>();
  picture->width_px = width;
  picture->height_px = height;
  for (int i = 0; i < width * height; ++i) {
    picture->rgba.insert(picture->rgba.end(), {static_cast<std::uint8_t>(color.red()),
                                               static_cast<std::uint8_t>(color.green()),
                                               static_cast<std::uint8_t>(color.blue()), 255});
  }
  return picture;
}

class RecordingListener : public platform::BackdropEvents {
 public:
  explicit RecordingListener(BackdropWindow& window) : window_(window) {}
  void OnBackdropMouseDown(platform::MouseButton button, int x_twips, int y_twips) override {
    downs.push_back({button, x_twips, y_twips});
    if (button == platform::MouseButton::kRight) {
      menu_answers.push_back(window_.ShowContextMenu({"Close"}, x_twips, y_twips));
    }
  }
  void OnBackdropCloseClick() override { ++close_clicks; }

  struct Down {
    platform::MouseButton button;
    int x_twips, y_twips;
  };
  std::vector<Down> downs;
  std::vector<int> menu_answers;
  int close_clicks = 0;

 private:
  BackdropWindow& window_;
};

void Click(QWidget* widget, QPoint at, Qt::MouseButton button) {
  QMouseEvent press(QEvent::MouseButtonPress, at, widget->mapToGlobal(at), button, button,
                    Qt::NoModifier);
  QCoreApplication::sendEvent(widget, &press);
  QMouseEvent release(QEvent::MouseButtonRelease, at, widget->mapToGlobal(at), button, Qt::NoButton,
                      Qt::NoModifier);
  QCoreApplication::sendEvent(widget, &release);
}

TEST(DesktopBackdrop, PaintsItsColourACentredPictureAndTheCloseGlyph) {
  RIRERAZO_REQUIRE_DESKTOP();
  BackdropWindow window;
  window.Create(RectTwips{0, 0, 1024 * kTw, 768 * kTw});
  EXPECT_FALSE(window.Visible());
  window.SetColor(0x00FF0000);  // blue in the 0x00BBGGRR layout
  window.Show();
  EXPECT_EQ(ScreenColorWhen({5, 700}, Qt::blue).rgb(), QColor(Qt::blue).rgb());

  // A 100 x 50 picture centred as the player places it: (462, 359).
  window.SetSlotPicture(1, SolidPicture(100, 50, Qt::green));
  window.PlaceSlot(1, RectTwips{462 * kTw, 359 * kTw, 100 * kTw, 50 * kTw});
  window.SetSlotVisible(1, true);
  EXPECT_EQ(ScreenColorWhen({462, 359}, Qt::green).rgb(), QColor(Qt::green).rgb());
  const QImage shot = QGuiApplication::primaryScreen()->grabWindow(0).toImage();
  EXPECT_EQ(shot.pixelColor(561, 408).rgb(), QColor(Qt::green).rgb());  // bottom-right pixel
  EXPECT_EQ(shot.pixelColor(461, 359).rgb(), QColor(Qt::blue).rgb());
  EXPECT_EQ(shot.pixelColor(562, 409).rgb(), QColor(Qt::blue).rgb());

  // Stretched when the place is larger than the picture; gone when the slot is hidden.
  window.PlaceSlot(1, RectTwips{0, 0, 1024 * kTw, 768 * kTw});
  EXPECT_EQ(ScreenColorWhen({5, 700}, Qt::green).rgb(), QColor(Qt::green).rgb());
  window.SetSlotVisible(1, false);
  EXPECT_EQ(ScreenColorWhen({5, 700}, Qt::blue).rgb(), QColor(Qt::blue).rgb());

  window.PlaceCloseGlyph((1024 - 16) * kTw - 100, 100, "Close VORN Script");
  const QPoint glyph(1024 - 16 - 7, 6);  // left and top of the glyph at 100 twips: 1001, 6
  EXPECT_EQ(ScreenColorWhen(glyph + QPoint(1, 8), QColor(192, 192, 192)).rgb(),
            QColor(192, 192, 192).rgb());
  const QImage with_glyph = QGuiApplication::primaryScreen()->grabWindow(0).toImage();
  EXPECT_EQ(with_glyph.pixelColor(glyph + QPoint(4, 3)).rgb(), QColor(Qt::black).rgb());
  EXPECT_EQ(with_glyph.pixelColor(glyph + QPoint(7, 6)).rgb(), QColor(Qt::black).rgb());

  window.Hide();
  EXPECT_FALSE(window.Visible());
  window.Destroy();
  EXPECT_FALSE(window.Exists());
  EXPECT_TRUE(PumpUntil([] { return BackdropWidgetOnScreen() == nullptr; }));
}

TEST(DesktopBackdrop, GlyphClickAndContextMenuReachTheListener) {
  RIRERAZO_REQUIRE_DESKTOP();
  BackdropWindow window;
  RecordingListener listener(window);
  window.SetEventListener(&listener);
  window.Create(RectTwips{0, 0, 1024 * kTw, 768 * kTw});
  window.PlaceCloseGlyph(1000 * kTw, 10 * kTw, "Close VORN Script");
  window.Show();
  QWidget* widget = BackdropWidgetOnScreen();
  ASSERT_NE(widget, nullptr);

  Click(widget, {1005, 15}, Qt::LeftButton);  // on the glyph: a close click, no mouse down
  EXPECT_TRUE(PumpUntil([&] { return listener.close_clicks == 1; }));
  EXPECT_TRUE(listener.downs.empty());

  Click(widget, {20, 30}, Qt::LeftButton);
  testing::WhenMenu("Close");
  Click(widget, {200, 100}, Qt::RightButton);
  EXPECT_TRUE(PumpUntil([&] { return listener.menu_answers.size() == 1; }));
  ASSERT_EQ(listener.downs.size(), 2u);
  EXPECT_EQ(listener.downs[0].button, platform::MouseButton::kLeft);
  EXPECT_EQ(listener.downs[0].x_twips, 20 * kTw);
  EXPECT_EQ(listener.downs[0].y_twips, 30 * kTw);
  EXPECT_EQ(listener.downs[1].button, platform::MouseButton::kRight);
  EXPECT_EQ(listener.menu_answers, std::vector<int>{0});

  testing::WhenMenu("");  // dismissed
  Click(widget, {200, 100}, Qt::RightButton);
  EXPECT_TRUE(PumpUntil([&] { return listener.menu_answers.size() == 2; }));
  EXPECT_EQ(listener.menu_answers[1], -1);
  EXPECT_EQ(listener.close_clicks, 1);
}

}  // namespace
}  // namespace rirerazo::desktop
