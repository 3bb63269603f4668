#include "render/screen_canvas.h"

#include <QPainter>
#include <algorithm>
#include <exception>

#include "desktop/character/balloon_picture.h"
#include "desktop/character/character_picture.h"
#include "render/render_backdrop.h"

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
  for (const std::string& id : ids) SyncActor(ActorFor(id));
  // Keep the load order for stacking.
  std::stable_sort(actors_.begin(), actors_.end(), [&](const auto& a, const auto& b) {
    return std::find(ids.begin(), ids.end(), a->id) < std::find(ids.begin(), ids.end(), b->id);
  });
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
  if (backdrop_) backdrop_->Paint(painter);
  for (const auto& actor : actors_) {
    if (actor->shown) actor->picture.Paint(painter, actor->place.topLeft());
  }
  painter.setRenderHint(QPainter::Antialiasing);
  for (const auto& actor : actors_) {
    if (!actor->balloon_shown) continue;
    painter.save();
    painter.translate(actor->balloon.Placement().window.topLeft());
    actor->balloon.Paint(painter);
    painter.restore();
  }
  return true;
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
