// Message boxes, the busy pointer, screen metrics and the clipboard on a real X server.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QMessageBox>
#include <QPushButton>

#include "desktop/services/qt_clipboard.h"
#include "desktop/services/qt_ui.h"
#include "services_support.h"
#include "support/qt_desktop.h"

namespace rirerazo::desktop {
namespace {

using platform::MsgAnswer;
using testing::WhenModal;
namespace mb = platform::mb;

struct SeenBox {
  QString title, text;
  QMessageBox::Icon icon = QMessageBox::NoIcon;
  QList<QMessageBox::StandardButton> buttons;
  QMessageBox::StandardButton default_button = QMessageBox::NoButton;
};

// Shows a box and answers it by clicking `click` (or the default button when NoButton),
// recording what the box looked like.
MsgAnswer ShowAndClick(const std::string& text, const std::string& title, int style,
                       QMessageBox::StandardButton click, SeenBox& seen) {
  WhenModal<QMessageBox>([&seen, click](QMessageBox* box) {
    seen.title = box->windowTitle();
    seen.text = box->text();
    seen.icon = box->icon();
    for (QAbstractButton* button : box->buttons()) seen.buttons << box->standardButton(button);
    std::sort(seen.buttons.begin(), seen.buttons.end());
    if (box->defaultButton() != nullptr)
      seen.default_button = box->standardButton(box->defaultButton());
    QAbstractButton* target = box->button(click);
    if (click == QMessageBox::NoButton) target = box->defaultButton();
    target->click();
  });
  QtUi ui;
  return ui.MessageBox(text, title, style);
}

TEST(DesktopUi, ErrorReportBoxAnswersCancelWithCriticalIcon) {
  RIRERAZO_REQUIRE_DESKTOP();
  SeenBox seen;
  const MsgAnswer answer =
      ShowAndClick("Section: M:MG: : TrimChars\r\n\r\nError Code: 5", "VORN 0.1 Unexpected Error",
                   mb::kOkCancel | mb::kCritical, QMessageBox::Cancel, seen);
  EXPECT_EQ(answer, MsgAnswer::kCancel);
  EXPECT_EQ(seen.title, "VORN 0.1 Unexpected Error");
  EXPECT_EQ(seen.text, "Section: M:MG: : TrimChars\n\nError Code: 5");
  EXPECT_EQ(seen.icon, QMessageBox::Critical);
  EXPECT_EQ(seen.buttons,
            (QList<QMessageBox::StandardButton>{QMessageBox::Ok, QMessageBox::Cancel}));
  EXPECT_EQ(seen.default_button, QMessageBox::Ok);
}

TEST(DesktopUi, DefaultButtonBitsChooseTheButtonEnterPresses) {
  RIRERAZO_REQUIRE_DESKTOP();
  SeenBox seen;
  EXPECT_EQ(ShowAndClick("Play Script Error", "RIRERazo",
                         mb::kAbortRetryIgnore | mb::kExclamation | mb::kDefaultButton3,
                         QMessageBox::NoButton, seen),
            MsgAnswer::kIgnore);
  EXPECT_EQ(seen.icon, QMessageBox::Warning);
  EXPECT_EQ(ShowAndClick("?", "RIRERazo", mb::kYesNoCancel | mb::kQuestion | mb::kDefaultButton2,
                         QMessageBox::NoButton, seen),
            MsgAnswer::kNo);
  EXPECT_EQ(seen.icon, QMessageBox::Question);
  // A default button the box does not have falls back to the first one.
  EXPECT_EQ(
      ShowAndClick("?", "RIRERazo", mb::kYesNo | mb::kDefaultButton3, QMessageBox::NoButton, seen),
      MsgAnswer::kYes);
}

TEST(DesktopUi, EmptyTitleBecomesProgramNameAndLegacyTextIsDecoded) {
  RIRERAZO_REQUIRE_DESKTOP();
  SeenBox seen;
  EXPECT_EQ(ShowAndClick("caf\xe9", "", mb::kOkOnly | mb::kInformation, QMessageBox::Ok, seen),
            MsgAnswer::kOk);
  EXPECT_EQ(seen.title, "RIRERazo");
  EXPECT_EQ(seen.text, QString::fromUtf8("caf\xc3\xa9"));
  EXPECT_EQ(seen.icon, QMessageBox::Information);
}

TEST(DesktopUi, BusyPointerIsSetOnceAndRestored) {
  RIRERAZO_REQUIRE_DESKTOP();
  {
    QtUi ui;
    ui.SetCursor(platform::Cursor::kBusy);
    ui.SetCursor(platform::Cursor::kBusy);  // a second busy call must not stack
    ASSERT_NE(QApplication::overrideCursor(), nullptr);
    EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
    ui.SetCursor(platform::Cursor::kNormal);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    ui.SetCursor(platform::Cursor::kBusy);
  }  // the ui goes while busy: the pointer must not stay busy
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST(DesktopUi, BoxShowsTheArrowWhileBusyAndTheBusyPointerReturns) {
  RIRERAZO_REQUIRE_DESKTOP();
  QtUi ui;
  ui.SetCursor(platform::Cursor::kBusy);
  Qt::CursorShape during = Qt::BlankCursor;
  WhenModal<QMessageBox>([&](QMessageBox* box) {
    during = QApplication::overrideCursor()->shape();
    box->button(QMessageBox::Ok)->click();
  });
  ui.MessageBox("x", "", mb::kOkOnly);
  EXPECT_EQ(during, Qt::ArrowCursor);
  ASSERT_NE(QApplication::overrideCursor(), nullptr);
  EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
  ui.SetCursor(platform::Cursor::kNormal);
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST(DesktopUi, ScreenMetricsAreThePrimaryScreens) {
  RIRERAZO_REQUIRE_DESKTOP();
  QtUi ui;
  EXPECT_EQ(ui.ScreenWidthPx(), 1024);  // the test's Xvfb screen
  EXPECT_EQ(ui.ScreenHeightPx(), 768);
}

TEST(DesktopClipboard, TextMakesTheRoundTripAsUtf8) {
  RIRERAZO_REQUIRE_DESKTOP();
  QtClipboard clipboard;
  clipboard.SetText("Hello \xc3\xa9t\xc3\xa9\r\nsecond line");
  EXPECT_EQ(clipboard.GetText(), "Hello \xc3\xa9t\xc3\xa9\r\nsecond line");
  clipboard.SetText("na\xefve");  // legacy bytes go out as UTF-8
  EXPECT_EQ(clipboard.GetText(), "na\xc3\xafve");
  clipboard.SetText("");
  EXPECT_EQ(clipboard.GetText(), "");
}

}  // namespace
}  // namespace rirerazo::desktop
