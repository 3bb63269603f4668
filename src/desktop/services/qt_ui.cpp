#include "desktop/services/qt_ui.h"

#include <QApplication>
#include <QGuiApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <optional>
#include <vector>

#include "core/util/display_text.h"
#include "desktop/services/private/qt_text.h"
#include "host/message_box_buttons.h"

namespace rirerazo::desktop {
namespace {

using platform::MsgAnswer;

struct ButtonPair {
  MsgAnswer answer;
  QMessageBox::StandardButton button;
};

constexpr ButtonPair kButtons[] = {
    {MsgAnswer::kOk, QMessageBox::Ok},         {MsgAnswer::kCancel, QMessageBox::Cancel},
    {MsgAnswer::kAbort, QMessageBox::Abort},   {MsgAnswer::kRetry, QMessageBox::Retry},
    {MsgAnswer::kIgnore, QMessageBox::Ignore}, {MsgAnswer::kYes, QMessageBox::Yes},
    {MsgAnswer::kNo, QMessageBox::No},
};

QMessageBox::StandardButton ButtonOf(MsgAnswer answer) {
  for (const ButtonPair& pair : kButtons) {
    if (pair.answer == answer) return pair.button;
  }
  return QMessageBox::Ok;
}

std::optional<MsgAnswer> AnswerOf(int button) {
  for (const ButtonPair& pair : kButtons) {
    if (pair.button == button) return pair.answer;
  }
  return std::nullopt;
}

QMessageBox::Icon IconOf(int style) {
  switch (style & 0x70) {
    case platform::mb::kCritical:
      return QMessageBox::Critical;
    case platform::mb::kQuestion:
      return QMessageBox::Question;
    case platform::mb::kExclamation:
      return QMessageBox::Warning;
    case platform::mb::kInformation:
      return QMessageBox::Information;
  }
  return QMessageBox::NoIcon;
}

// What closing the box by its window frame or Escape means: Cancel, else No, else the
// only button; a box of Abort, Retry and Ignore or of Yes and No cannot be escaped that
// way and Qt keeps it open.
MsgAnswer FallbackAnswer(const std::vector<MsgAnswer>& buttons) {
  for (MsgAnswer wanted : {MsgAnswer::kCancel, MsgAnswer::kNo}) {
    for (MsgAnswer button : buttons) {
      if (button == wanted) return button;
    }
  }
  return buttons.front();
}

}  // namespace

QtUi::~QtUi() {
  if (busy_) QApplication::restoreOverrideCursor();
}

MsgAnswer QtUi::MessageBox(const std::string& text, const std::string& title, int style) {
  const std::vector<MsgAnswer> buttons = host::ButtonsOf(style);
  QMessageBox box(IconOf(style), ToQString(title.empty() ? kDefaultBoxTitle : title),
                  ToQString(text));
  box.setTextFormat(Qt::PlainText);
  box.setWindowFlag(Qt::WindowStaysOnTopHint);
  for (MsgAnswer button : buttons) box.addButton(ButtonOf(button));
  const std::size_t default_index = (style >> 8) & 3;
  const MsgAnswer default_answer =
      default_index < buttons.size() ? buttons[default_index] : buttons.front();
  box.setDefaultButton(ButtonOf(default_answer));
  // The box itself takes the arrow even while the program is busy; the busy pointer returns
  // with the answer.
  // (Pushed and popped as a pair, so a pointer change made by events meanwhile survives.)
  const bool arrow_pushed = busy_;
  if (arrow_pushed) QApplication::setOverrideCursor(Qt::ArrowCursor);
  open_boxes_.push_back(&box);
  box.exec();
  open_boxes_.pop_back();
  if (arrow_pushed) QApplication::restoreOverrideCursor();
  QAbstractButton* clicked = box.clickedButton();
  if (clicked != nullptr) {
    if (std::optional<MsgAnswer> answer = AnswerOf(box.standardButton(clicked))) return *answer;
  }
  return FallbackAnswer(buttons);
}

void QtUi::CloseOpenBoxes() {
  // done() ends each box's own event loop; the outer ones return as the inner ones unwind.
  for (auto box = open_boxes_.rbegin(); box != open_boxes_.rend(); ++box) (*box)->done(0);
}

void QtUi::SetCursor(platform::Cursor cursor) {
  const bool busy = cursor == platform::Cursor::kBusy;
  if (busy == busy_) return;
  busy_ = busy;
  if (busy) {
    QApplication::setOverrideCursor(Qt::WaitCursor);
  } else {
    QApplication::restoreOverrideCursor();
  }
}

int QtUi::ScreenWidthPx() const {
  const QScreen* screen = QGuiApplication::primaryScreen();
  return screen != nullptr ? screen->geometry().width() : 1024;
}

int QtUi::ScreenHeightPx() const {
  const QScreen* screen = QGuiApplication::primaryScreen();
  return screen != nullptr ? screen->geometry().height() : 768;
}

}  // namespace rirerazo::desktop
