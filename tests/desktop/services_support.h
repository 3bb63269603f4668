// Helpers for the desktop services' tests: drive modal dialogs and popup menus from a timer
// while the code under test waits in them, and pump events until a condition holds.
#pragma once

#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QMenu>
#include <QTimer>
#include <QWidget>
#include <functional>

namespace rirerazo::testing {

// Pumps events until `done` holds or `deadline_ms` passes; returns `done()`.
inline bool PumpUntil(const std::function<bool()>& done, int deadline_ms = 5000) {
  QElapsedTimer clock;
  clock.start();
  while (!done() && clock.elapsed() < deadline_ms) {
    QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  }
  return done();
}

// Calls `act` once with the first widget `find` returns (polled every 20 ms) that is not
// `skip`. When none appears within 10 s every modal widget and popup is closed, so a test
// that waits in a dialog fails instead of hanging.
inline void WhenShown(std::function<QWidget*()> find, std::function<void(QWidget*)> act,
                      QWidget* skip = nullptr) {
  auto* timer = new QTimer;
  auto* clock = new QElapsedTimer;
  clock->start();
  timer->setInterval(20);
  QObject::connect(timer, &QTimer::timeout, [=] {
    QWidget* widget = find();
    const bool give_up = clock->elapsed() > 10000;
    if ((widget == nullptr || widget == skip) && !give_up) return;
    timer->stop();
    timer->deleteLater();
    delete clock;
    if (give_up) {
      ADD_FAILURE() << "no dialog or menu appeared";
      while (QWidget* open = QApplication::activePopupWidget()) open->close();
      while (QWidget* open = QApplication::activeModalWidget()) open->close();
      return;
    }
    act(widget);
  });
  timer->start();
}

// `act` on the next modal widget of type T.
template <typename T>
void WhenModal(std::function<void(T*)> act, QWidget* skip = nullptr) {
  WhenShown([] { return qobject_cast<T*>(QApplication::activeModalWidget()); },
            [act](QWidget* widget) { act(static_cast<T*>(widget)); }, skip);
}

// Chooses the item of the next popup menu whose text is `text`, or dismisses it when `text`
// is empty; records the menu's texts in `seen` when given.
inline void WhenMenu(QString text, QStringList* seen = nullptr) {
  WhenShown([] { return qobject_cast<QMenu*>(QApplication::activePopupWidget()); },
            [text, seen](QWidget* widget) {
              auto* menu = static_cast<QMenu*>(widget);
              QAction* wanted = nullptr;
              for (QAction* action : menu->actions()) {
                if (seen != nullptr) *seen << action->text();
                if (action->text() == text) wanted = action;
              }
              if (wanted == nullptr) {
                menu->close();
                return;
              }
              menu->setActiveAction(wanted);
              QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
              QCoreApplication::sendEvent(menu, &enter);
            });
}

}  // namespace rirerazo::testing
