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
      audio_(audio),
      per_pixel_alpha_(per_pixel_alpha) {
  setAttribute(Qt::WA_ShowWithoutActivating);
  setAttribute(Qt::WA_X11DoNotAcceptFocus);
  setAttribute(Qt::WA_NoSystemBackground);
  // Must be set before the native window exists: it selects a visual with alpha.
  if (per_pixel_alpha_) setAttribute(Qt::WA_TranslucentBackground);
  setWindowTitle(QString::fromStdString(DisplayTextUtf8(id_)));
}

CharacterWindow::~CharacterWindow() = default;

void CharacterWindow::Apply(const runtime::FrameState& state) {
  std::erase_if(streams_, [](const auto& stream) { return stream->Finished(); });
  const bool drawable =
      state.visible && state.data && state.data->file && state.animation >= 0 && state.frame >= 0;
  if (!drawable) {
    if (!state.visible) {
      shown_animation_ = shown_frame_ = -1;
      if (isVisible()) hide();
    }
    return;
  }
  PlaceWindow(state);
  PlayFrameSound(state);
  ShowFrame(state);
  if (!isVisible()) {
    show();
    raise();
  }
}

void CharacterWindow::PlaceWindow(const runtime::FrameState& state) {
  const int width_px = state.width_px > 0 ? state.width_px : state.data->width_px;
  const int height_px = state.height_px > 0 ? state.height_px : state.data->height_px;
  if (width() != width_px || height() != height_px)
    resize(std::max(width_px, 1), std::max(height_px, 1));
  if (!dragging_ && pos() != QPoint(state.left_px, state.top_px)) {
    move(state.left_px, state.top_px);
  }
}

void CharacterWindow::ShowFrame(const runtime::FrameState& state) {
  const bool same = state.animation == shown_animation_ && state.frame == shown_frame_ &&
                    state.mouth_shape == shown_mouth_ && image_.size() == size();
  if (same) return;
  shown_animation_ = state.animation;
  shown_frame_ = state.frame;
  shown_mouth_ = state.mouth_shape;
  ++frames_shown_;
  try {
    const CachedFrame& frame = cache_.Get(*state.data->file, state.animation, state.frame,
                                          state.mouth_shape, width(), height());
    image_ = frame.image;
    if (frame.shape != shape_ || !shaped_) {
      // Masked, or translucent with the mouse taken only over the opaque pixels, so clicks
      // on the transparent ones reach the window below.
      if (per_pixel_alpha_) {
        SetInputShape(*this, frame.shape);
      } else {
        setMask(frame.has_pixels ? frame.shape : kNothingVisible);
      }
      shaped_ = true;
    }
    shape_ = frame.shape;
  } catch (const std::exception&) {
    // A frame whose images are corrupt shows nothing rather than stopping the player.
    image_ = QImage();
    shape_ = QRegion();
    if (per_pixel_alpha_) {
      SetInputShape(*this, QRegion());
    } else {
      setMask(kNothingVisible);
    }
  }
  update();
}

// A frame's sound plays when the character comes to that frame; staying on it (a held
// frame, repeated Apply calls) does not repeat it.
void CharacterWindow::PlayFrameSound(const runtime::FrameState& state) {
  if (state.animation == shown_animation_ && state.frame == shown_frame_) return;
  const acs::Character& file = *state.data->file;
  if (&file != sound_file_) {
    sounds_.clear();
    sound_file_ = &file;
  }
  const auto& animation = file.animations.at(std::size_t(state.animation));
  const std::uint16_t index = animation.frames.at(std::size_t(state.frame)).sound_index;
  if (index == acs::kNoSound || index >= file.sounds.size()) return;
  try {
    auto found = sounds_.find(index);
    if (found == sounds_.end()) found = sounds_.emplace(index, file.DecodeSound(index)).first;
    const acs::PcmSound& sound = found->second;
    if (sound.samples.empty()) return;
    auto stream = audio_.Play(sound.samples, {int(sound.sample_rate_hz), sound.channels});
    if (stream) streams_.push_back(std::move(stream));
    ++sounds_started_;
  } catch (const std::exception&) {
    // A corrupt sound stays silent; the animation carries on.
  }
}

void CharacterWindow::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  if (per_pixel_alpha_) {
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.fillRect(rect(), Qt::transparent);
    painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
  }
  if (!image_.isNull()) painter.drawImage(0, 0, image_);
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
