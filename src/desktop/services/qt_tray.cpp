#include "desktop/services/qt_tray.h"

#include <QAction>
#include <QApplication>
#include <QCursor>
#include <QImage>
#include <QMenu>
#include <QPainter>
#include <QPixmap>
#include <QSystemTrayIcon>
#include <QTimer>
#include <iostream>

#include "desktop/services/private/qt_text.h"

namespace rirerazo::desktop {
namespace tm = platform::tray_mouse;

namespace {

// The tray's own icon when the player gives none: a light balloon on a blue disc.
QIcon DrawnIcon() {
  QPixmap pixmap(32, 32);
  pixmap.fill(Qt::transparent);
  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setPen(Qt::NoPen);
  painter.setBrush(QColor(40, 90, 170));
  painter.drawEllipse(1, 1, 30, 30);
  painter.setBrush(QColor(250, 250, 235));
  painter.drawRoundedRect(7, 8, 18, 12, 4, 4);
  const QPoint tail[] = {{11, 19}, {16, 19}, {10, 25}};
  painter.drawPolygon(tail, 3);
  return QIcon(pixmap);
}

QIcon IconOf(const platform::Picture& picture) {
  QImage image(picture.rgba.data(), picture.width_px, picture.height_px, picture.width_px * 4,
               QImage::Format_RGBA8888);
  return QIcon(QPixmap::fromImage(image.copy()));
}

// The mouse messages one activation of the icon stands for.
std::vector<int> MessagesOf(QSystemTrayIcon::ActivationReason reason) {
  switch (reason) {
    case QSystemTrayIcon::Trigger:
      return {tm::kLeftDown, tm::kLeftUp};
    case QSystemTrayIcon::DoubleClick:
      return {tm::kLeftDoubleClick};
    case QSystemTrayIcon::Context:
      return {tm::kRightDown, tm::kRightUp};
    default:
      return {};
  }
}

}  // namespace

struct QtTray::Impl {
  explicit Impl(std::ostream& err_stream) : err(err_stream) {}

  std::ostream& err;
  QIcon icon = DrawnIcon();
  std::unique_ptr<QSystemTrayIcon> tray_icon;  // present while installed
  platform::TrayEvents* listener = nullptr;
  QTimer poll;
  bool absence_said = false;

  // Shows the icon when there is a notification area, else says so (once) and waits.
  void ShowWhenPossible() {
    if (!tray_icon) return;
    if (!QSystemTrayIcon::isSystemTrayAvailable()) {
      if (!absence_said) {
        err << "rirerazo: this desktop has no notification area; the icon will appear when "
               "one starts, and the characters' own menus offer the same commands.\n";
        err.flush();
        absence_said = true;
      }
      return;
    }
    if (!tray_icon->isVisible()) tray_icon->show();
  }

  void Deliver(QSystemTrayIcon::ActivationReason reason) {
    for (int message : MessagesOf(reason)) {
      QTimer::singleShot(0, tray_icon.get(), [this, message] {
        if (listener != nullptr) listener->OnTrayMouse(message);
      });
    }
  }
};

QtTray::QtTray(std::ostream& err) : impl_(std::make_unique<Impl>(err)) {
  impl_->poll.setInterval(kPollIntervalMs);
  QObject::connect(&impl_->poll, &QTimer::timeout,
                   [impl = impl_.get()] { impl->ShowWhenPossible(); });
}

QtTray::QtTray() : QtTray(std::cerr) {}

QtTray::~QtTray() = default;

void QtTray::SetIcon(const platform::Picture& picture) {
  if (picture.width_px <= 0 || picture.height_px <= 0 ||
      picture.rgba.size() < static_cast<std::size_t>(picture.width_px) * picture.height_px * 4) {
    return;  // not a picture: the drawn icon stays
  }
  impl_->icon = IconOf(picture);
  if (impl_->tray_icon) impl_->tray_icon->setIcon(impl_->icon);
}

void QtTray::Install(const std::string& tip, platform::TrayEvents* listener) {
  impl_->listener = listener;
  if (!impl_->tray_icon) {
    impl_->tray_icon = std::make_unique<QSystemTrayIcon>(impl_->icon, qApp);
    impl_->tray_icon->setObjectName(QtTray::kTrayIconObjectName);
    QObject::connect(
        impl_->tray_icon.get(), &QSystemTrayIcon::activated,
        [impl = impl_.get()](QSystemTrayIcon::ActivationReason reason) { impl->Deliver(reason); });
  }
  impl_->tray_icon->setToolTip(ToQString(tip));
  impl_->ShowWhenPossible();
  impl_->poll.start();
}

void QtTray::Remove() {
  impl_->poll.stop();
  impl_->listener = nullptr;
  impl_->tray_icon.reset();
}

bool QtTray::Installed() const {
  return impl_->tray_icon != nullptr;
}

int QtTray::ShowPopupMenu(const std::vector<platform::MenuItem>& items) {
  QMenu menu;
  for (std::size_t i = 0; i < items.size(); ++i) {
    if (!items[i].visible) continue;
    menu.addAction(ToQString(items[i].caption))->setData(static_cast<int>(i));
  }
  if (menu.isEmpty()) return -1;
  const QAction* chosen = menu.exec(QCursor::pos());
  return chosen != nullptr ? chosen->data().toInt() : -1;
}

bool QtTray::Available() const {
  return QSystemTrayIcon::isSystemTrayAvailable();
}

bool QtTray::IconVisible() const {
  return impl_->tray_icon && impl_->tray_icon->isVisible();
}

}  // namespace rirerazo::desktop
