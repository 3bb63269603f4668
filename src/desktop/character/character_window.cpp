#include "desktop/character/character_window.h"

#include <QApplication>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QTimer>
#include <exception>

#include "core/util/display_text.h"
#include "desktop/character/private/x11_compositor.h"

namespace rirerazo::desktop {
namespace {

constexpr Qt::WindowFlags kCharacterWindowFlags =
    Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::X11BypassWindowManagerHint |
    Qt::WindowDoesNotAcceptFocus;

// Qt treats an empty mask as "no mask"; a region outside the window hides every pixel.
const QRegion kNothingVisible(-2, -2, 1, 1);

QString MenuText(const std::string& bytes) {
  return QString::fromStdString(DisplayTextUtf8(bytes));
}

}  // namespace

CharacterWindow::CharacterWindow(runtime::CharacterRuntime& runtime, std::string id,
                                 AudioOutput& audio, bool per_pixel_alpha)
    : QWidget(nullptr, kCharacterWindowFlags),
      runtime_(runtime),
      id_(std::move(id)),
      per_pixel_alpha_(per_pixel_alpha),
      sounds_(audio) {
  setAttribute(Qt::WA_ShowWithoutActivating);
  setAttribute(Qt::WA_X11DoNotAcceptFocus);
  setAttribute(Qt::WA_NoSystemBackground);
  // Must be set before the native window exists: it selects a visual with alpha.
  if (per_pixel_alpha_) setAttribute(Qt::WA_TranslucentBackground);
  setWindowTitle(QString::fromStdString(DisplayTextUtf8(id_)));
}

CharacterWindow::~CharacterWindow() = default;

void CharacterWindow::Apply(const runtime::FrameState& state) {
  if (!Drawable(state)) {
    if (!state.visible) {
      picture_.Forget();
      sounds_.Forget();
      if (isVisible()) hide();
    }
    return;
  }
  PlaceWindow(state);
  sounds_.Reached(state);
  ShowFrame(state);
  if (!isVisible()) {
    show();
    raise();
  }
}

void CharacterWindow::PlaceWindow(const runtime::FrameState& state) {
  const QSize drawn = DrawnSize(state);
  if (size() != drawn) resize(drawn);
  if (!dragging_ && pos() != QPoint(state.left_px, state.top_px)) {
    move(state.left_px, state.top_px);
  }
}

void CharacterWindow::ShowFrame(const runtime::FrameState& state) {
  if (!picture_.Show(state, size())) return;
  if (picture_.Shape() != shape_ || !shaped_) {
    // Masked, or translucent with the mouse taken only over the opaque pixels, so clicks
    // on the transparent ones reach the window below.
    if (per_pixel_alpha_) {
      SetInputShape(*this, picture_.Shape());
    } else {
      setMask(picture_.HasPixels() ? picture_.Shape() : kNothingVisible);
    }
    shaped_ = true;
  }
  shape_ = picture_.Shape();
  update();
}

void CharacterWindow::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  if (per_pixel_alpha_) {
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.fillRect(rect(), Qt::transparent);
    painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
  }
  picture_.Paint(painter, QPoint(0, 0));
}

void CharacterWindow::mousePressEvent(QMouseEvent* event) {
  // With per-pixel alpha the window covers its transparent pixels too; they are not the
  // character's.
  if (per_pixel_alpha_ && !shape_.contains(event->position().toPoint())) {
    event->ignore();
    return;
  }
  if (event->button() == Qt::LeftButton) {
    pressed_ = true;
    press_global_ = event->globalPosition().toPoint();
    press_window_pos_ = pos();
  }
  event->accept();
}

void CharacterWindow::mouseMoveEvent(QMouseEvent* event) {
  if (!pressed_) return;
  const QPoint delta = event->globalPosition().toPoint() - press_global_;
  if (!dragging_ && delta.manhattanLength() >= QApplication::startDragDistance()) {
    dragging_ = true;
  }
  if (dragging_) move(press_window_pos_ + delta);
}

void CharacterWindow::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() == Qt::RightButton) {
    if (!per_pixel_alpha_ || shape_.contains(event->position().toPoint())) {
      OpenMenu(event->globalPosition().toPoint());
    }
    return;
  }
  if (event->button() != Qt::LeftButton || !pressed_) return;
  pressed_ = false;
  if (dragging_) {
    dragging_ = false;
    const QPoint drop = pos();
    ForRuntime([&] { runtime_.Drag(id_, drop.x(), drop.y()); });
  } else {
    const QPoint at = event->globalPosition().toPoint();
    ForRuntime([&] { runtime_.Click(id_, at.x(), at.y()); });
  }
}

QMenu* CharacterWindow::OpenMenu(const QPoint& global_pos) {
  if (menu_) delete menu_.data();
  auto* menu = new QMenu(this);
  menu->setAttribute(Qt::WA_DeleteOnClose);
  menu_ = menu;
  try {
    const runtime::CommandSet& commands = runtime_.Commands(id_);
    if (!commands.Caption().empty()) menu->addSection(MenuText(commands.Caption()));
    for (const runtime::Command& command : commands.Items()) {
      if (command.caption.empty()) continue;  // a voice-only command
      const std::string name = command.name;
      connect(menu->addAction(MenuText(command.caption)), &QAction::triggered, this,
              [this, name] { ChooseCommand(name); });
    }
  } catch (const std::exception&) {
    // The character went away; offer what is left.
  }
  if (!menu->isEmpty()) menu->addSeparator();
  if (player_menu_offered_ && player_menu_offered_() && open_player_menu_) {
    // Opened once this menu has closed: only one popup menu can be open at a time.
    connect(menu->addAction(QStringLiteral("RIRERazo")), &QAction::triggered, this,
            [open = open_player_menu_] { QTimer::singleShot(0, open); });
  }
  connect(menu->addAction(QStringLiteral("&Hide")), &QAction::triggered, this,
          [this] { HideByUser(); });
  menu->popup(global_pos);
  return menu;
}

// A command chosen from the menu is certain: it reaches the player with confidence 100,
// which is how the player's own close command starts the shutdown.
void CharacterWindow::ChooseCommand(const std::string& name) {
  platform::UserInput input;
  input.character_id = id_;
  input.name = name;
  input.confidence = 100;
  if (on_command_) on_command_(name);
  ForRuntime([&] { runtime_.ChooseCommand(id_, input); });
}

void CharacterWindow::HideByUser() {
  ForRuntime([&] { runtime_.UserHide(id_); });
}

void CharacterWindow::ForRuntime(const std::function<void()>& call) {
  try {
    call();
  } catch (const std::exception&) {
    return;
  }
  if (on_input_) on_input_();
}

}  // namespace rirerazo::desktop
