// The screen of a render: an image of the screen's size on which each video frame is
// painted from the runtime's state, with the same pictures the desktop's windows show.
// From the bottom up: the desktop's own background (a neutral colour or the user's
// picture); the backdrop and the videos of media statements when shown, the one shown last
// on top; then every visible character at its place and size with its current frame and
// mouth, and the balloons. Characters and balloons are stacked as the desktop stacks their
// windows, which stay above ordinary windows: each goes on top when it appears, so the one
// that appeared last lies above the others; when several appear at one step, in load order,
// each character before its balloon.
//
// Sync brings the pictures up to the runtime at the current time and starts the sounds of
// frames reached; it runs at every step of the runtime, not only at video frames, so no
// frame sound is missed. Paint draws what Sync left, and only when something changed: most
// frames of a show repeat the one before. Needs a QGuiApplication.
#pragma once

#include <QColor>
#include <QImage>
#include <QSize>
#include <memory>
#include <string>
#include <vector>

#include "desktop/audio/audio_output.h"
#include "runtime/character_runtime.h"

namespace rirerazo::render {

class RenderBackdrop;
class VideoLayer;

class ScreenCanvas {
 public:
  // The canvas is `screen` large, rounded up to even numbers (the video's pictures need
  // them; the extra row or column shows the background). `background` may be null.
  ScreenCanvas(runtime::CharacterRuntime& runtime, desktop::AudioOutput& sounds, QSize screen,
               QImage background, const RenderBackdrop* backdrop);
  ~ScreenCanvas();
  ScreenCanvas(const ScreenCanvas&) = delete;
  ScreenCanvas& operator=(const ScreenCanvas&) = delete;

  // The videos of media statements; not owned, may be null.
  void SetVideoLayer(VideoLayer* videos) { videos_ = videos; }

  void Sync();
  // Paints the screen when anything on it changed since the last Paint; true when it did.
  bool Paint();

  const QImage& Image() const { return image_; }
  QSize Screen() const { return screen_; }
  // The colour behind everything when no background picture is given.
  static QColor NeutralColour() { return QColor(58, 110, 165); }

  // Where a character was painted and where its balloon's text goes (screen pixels), for
  // tests that compare regions of the video; empty when not shown.
  QRect CharacterPlace(const std::string& id) const;
  QRect BalloonTextArea(const std::string& id) const;

 private:
  struct Actor;
  Actor& ActorFor(const std::string& id);
  void SyncActor(Actor& actor);
  void SyncWindowsBelow();
  void PaintWindowsBelow(QPainter& painter);
  void PaintCharacters(QPainter& painter);

  runtime::CharacterRuntime& runtime_;
  desktop::AudioOutput& sounds_;
  QSize screen_;
  QImage background_;
  const RenderBackdrop* backdrop_;
  QImage image_;
  VideoLayer* videos_ = nullptr;
  std::vector<std::unique_ptr<Actor>> actors_;  // load order
  bool changed_ = true;                         // since the last Paint
  std::uint64_t backdrop_revision_ = 0;
  // Stacking: every window that appears gets the next number; higher lies above.
  std::uint64_t last_raise_ = 0;
  bool backdrop_shown_ = false;
  std::uint64_t backdrop_raise_ = 0;
  std::uint64_t videos_raise_ = 0;
};

}  // namespace rirerazo::render
