#include "desktop/services/backdrop_window.h"

#include <QAction>
#include <QMenu>
#include <QTimer>
#include <stdexcept>

#include "desktop/services/private/backdrop_widget.h"
#include "desktop/services/private/qt_text.h"

namespace rirerazo::desktop {
namespace {

int Px(int twips) {
  return twips / platform::kTwipsPerPixel;
}

QRect PxRect(platform::RectTwips rect) {
  return {Px(rect.left), Px(rect.top), Px(rect.width), Px(rect.height)};
}

}  // namespace

BackdropWindow::BackdropWindow() = default;

BackdropWindow::~BackdropWindow() {
  delete widget_;
}

BackdropWidget& BackdropWindow::Widget() const {
  if (widget_ == nullptr) throw std::logic_error("the backdrop window does not exist");
  return *widget_;
}

bool BackdropWindow::Exists() const {
  return widget_ != nullptr;
}

void BackdropWindow::Create(platform::RectTwips bounds) {
  Destroy();
  widget_ = new BackdropWidget;
  widget_->setObjectName(kObjectName);
  widget_->setWindowTitle(QStringLiteral("RIRERazo"));
  widget_->setGeometry(PxRect(bounds));
  // Listener calls leave the event handler first: the listener may open a menu (a nested
  // loop) or destroy this very window. A call still queued when the window dies is dropped.
  widget_->SetReporter([this, widget = widget_](auto call) {
    QTimer::singleShot(0, widget, [this, call = std::move(call)] {
      if (listener_ != nullptr) call(*listener_);
    });
  });
}

void BackdropWindow::Destroy() {
  if (widget_ == nullptr) return;
  widget_->hide();
  widget_->deleteLater();
  widget_ = nullptr;
}

void BackdropWindow::Show() {
  Widget().show();
}

void BackdropWindow::Hide() {
  Widget().hide();
}

bool BackdropWindow::Visible() const {
  return widget_ != nullptr && widget_->isVisible();
}

void BackdropWindow::SetColor(std::uint32_t bgr) {
  Widget().SetColor(bgr);
}

void BackdropWindow::SetSlotPicture(int slot, std::shared_ptr<const platform::Picture> picture) {
  Widget().SlotAt(slot).picture = picture ? ImageOfPicture(*picture) : QImage();
}

void BackdropWindow::PlaceSlot(int slot, platform::RectTwips place) {
  Widget().SlotAt(slot).place_px = PxRect(place);
}

void BackdropWindow::SetSlotVisible(int slot, bool visible) {
  Widget().SlotAt(slot).visible = visible;
}

void BackdropWindow::PlaceCloseGlyph(int left_twips, int top_twips, const std::string& tooltip) {
  Widget().PlaceGlyph(QPoint(Px(left_twips), Px(top_twips)), ToQString(tooltip));
}

int BackdropWindow::ShowContextMenu(const std::vector<std::string>& items, int x_twips,
                                    int y_twips) {
  QMenu menu(&Widget());
  for (std::size_t i = 0; i < items.size(); ++i) {
    menu.addAction(ToQString(items[i]))->setData(static_cast<int>(i));
  }
  const QAction* chosen = menu.exec(Widget().mapToGlobal(QPoint(Px(x_twips), Px(y_twips))));
  return chosen != nullptr ? chosen->data().toInt() : -1;
}

void BackdropWindow::SetEventListener(platform::BackdropEvents* listener) {
  listener_ = listener;
}

}  // namespace rirerazo::desktop
