#include "render/screen_canvas.h"

#include <QPainter>
#include <algorithm>
#include <exception>

#include "desktop/character/balloon_picture.h"
#include "desktop/character/character_picture.h"
#include "render/render_backdrop.h"
#include "render/video_layer.h"

namespace rirerazo::render {

struct ScreenCanvas::Actor {
  explicit Actor(std::string character_id, desktop::AudioOutput& audio)
      : id(std::move(character_id)), sounds(audio) {}
  std::string id;
  desktop::CharacterPicture picture;
  desktop::FrameSounds sounds;
  desktop::BalloonPicture balloon;
  bool shown = false;
  bool balloon_shown = false;
  QRect place;
  std::uint64_t character_raise = 0;  // when each window last appeared
  std::uint64_t balloon_raise = 0;
};

namespace {

int Even(int n) {
  return n + (n & 1);
}

}  // namespace

ScreenCanvas::ScreenCanvas(runtime::CharacterRuntime& runtime, desktop::AudioOutput& sounds,
                           QSize screen, QImage background, const RenderBackdrop* backdrop)
    : runtime_(runtime),
      sounds_(sounds),
      screen_(screen),
      backdrop_(backdrop),
      image_(Even(screen.width()), Even(screen.height()), QImage::Format_RGB32) {
  if (!background.isNull()) {
    background_ = background.convertToFormat(QImage::Format_RGB32)
                      .scaled(image_.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
  }
}

ScreenCanvas::~ScreenCanvas() = default;

ScreenCanvas::Actor& ScreenCanvas::ActorFor(const std::string& id) {
  for (auto& actor : actors_) {
    if (actor->id == id) return *actor;
  }
  actors_.push_back(std::make_unique<Actor>(id, sounds_));
  return *actors_.back();
}

void ScreenCanvas::Sync() {
  const std::vector<std::string> ids = runtime_.CharacterIds();
  changed_ |= std::erase_if(actors_, [&](const auto& actor) {
                return std::find(ids.begin(), ids.end(), actor->id) == ids.end();
              }) > 0;
  SyncWindowsBelow();
  for (const std::string& id : ids) SyncActor(ActorFor(id));
}

// The backdrop and the video windows: ordinary windows, below the characters' and the
// balloons', which stay on top. Whichever appeared last lies above the other.
void ScreenCanvas::SyncWindowsBelow() {
  const bool backdrop_shown = backdrop_ && backdrop_->Visible();
  if (backdrop_shown && !backdrop_shown_) backdrop_raise_ = ++last_raise_;
  backdrop_shown_ = backdrop_shown;
  if (videos_ == nullptr) return;
  const VideoLayer::Change videos = videos_->Sync();
  if (videos.raised) videos_raise_ = ++last_raise_;
  changed_ |= videos.changed;
}

void ScreenCanvas::SyncActor(Actor& actor) {
  const bool was_shown = actor.shown;
  const bool balloon_was_shown = actor.balloon_shown;
  const QRect was_at = actor.place;
  try {
    const runtime::FrameState frame = runtime_.Frame(actor.id);
    if (!desktop::Drawable(frame)) {
      if (!frame.visible) {
        actor.shown = actor.balloon_shown = false;
        actor.picture.Forget();
        actor.sounds.Forget();
      }
    } else {
      actor.place = QRect(QPoint(frame.left_px, frame.top_px), desktop::DrawnSize(frame));
      actor.sounds.Reached(frame);
      changed_ |= actor.picture.Show(frame, actor.place.size());
      actor.shown = true;
      const desktop::BalloonPicture::Change balloon = actor.balloon.Update(
          runtime_.Balloon(actor.id), actor.place, QRect(QPoint(0, 0), screen_));
      actor.balloon_shown = balloon.visible;
      changed_ |= balloon.relaid || balloon.text_changed;
    }
  } catch (const std::exception&) {
    actor.shown = actor.balloon_shown = false;  // unloaded meanwhile; the next Sync drops it
  }
  changed_ |= actor.shown != was_shown || actor.balloon_shown != balloon_was_shown ||
              (actor.shown && actor.place != was_at);
  if (actor.shown && !was_shown) actor.character_raise = ++last_raise_;
  if (actor.balloon_shown && !balloon_was_shown) actor.balloon_raise = ++last_raise_;
}

bool ScreenCanvas::Paint() {
  if (backdrop_ && backdrop_->Revision() != backdrop_revision_) {
    backdrop_revision_ = backdrop_->Revision();
    changed_ = true;
  }
  if (!changed_) return false;
  changed_ = false;
  QPainter painter(&image_);
  if (background_.isNull()) {
    painter.fillRect(image_.rect(), NeutralColour());
  } else {
    painter.drawImage(0, 0, background_);
  }
  PaintWindowsBelow(painter);
  PaintCharacters(painter);
  return true;
}

void ScreenCanvas::PaintWindowsBelow(QPainter& painter) {
  const bool videos_above = videos_raise_ > backdrop_raise_;
  if (videos_ && !videos_above) videos_->Paint(painter);
  if (backdrop_) backdrop_->Paint(painter);
  if (videos_ && videos_above) videos_->Paint(painter);
}

void ScreenCanvas::PaintCharacters(QPainter& painter) {
  struct Layer {
    std::uint64_t raise;
    Actor* actor;
    bool balloon;
  };
  std::vector<Layer> layers;
  for (const auto& actor : actors_) {
    if (actor->shown) layers.push_back({actor->character_raise, actor.get(), false});
    if (actor->balloon_shown) layers.push_back({actor->balloon_raise, actor.get(), true});
  }
  std::sort(layers.begin(), layers.end(),
            [](const Layer& a, const Layer& b) { return a.raise < b.raise; });
  for (const Layer& layer : layers) {
    if (!layer.balloon) {
      layer.actor->picture.Paint(painter, layer.actor->place.topLeft());
      continue;
    }
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.translate(layer.actor->balloon.Placement().window.topLeft());
    layer.actor->balloon.Paint(painter);
    painter.restore();
  }
}

QRect ScreenCanvas::CharacterPlace(const std::string& id) const {
  for (const auto& actor : actors_) {
    if (actor->id == id && actor->shown) return actor->place;
  }
  return {};
}

QRect ScreenCanvas::BalloonTextArea(const std::string& id) const {
  for (const auto& actor : actors_) {
    if (actor->id == id && actor->balloon_shown) {
      return actor->balloon.TextArea().translated(actor->balloon.Placement().window.topLeft());
    }
  }
  return {};
}

}  // namespace rirerazo::render
