// The word balloon of one character, a window of its own: the character file's colours and
// font (as the script changed them), the body sized by lines and characters per line or to
// the text, the text revealed as the runtime says (word by word when paced), a pointed tail
// toward the character for speech and a trail of bubbles for thought. The runtime decides
// when the balloon shows and hides and how much text is shown; BalloonPicture lays it out
// and paints it; this window only places itself and shows the picture.
// Shaped like its outline: translucent with a compositing manager, masked without one. It
// takes no mouse input: clicks fall through to what lies below.
#pragma once

#include <QRect>

#include "desktop/character/balloon_picture.h"
#include "desktop/character/overlay_window.h"
#include "runtime/balloon.h"

namespace rirerazo::desktop {

class BalloonWindow : public OverlayWindow {
  Q_OBJECT

 public:
  explicit BalloonWindow(bool per_pixel_alpha);

  // Shows, places and redraws the balloon for `view`, next to the character's window
  // (screen rectangle); hides it when the view is not visible.
  void Apply(const runtime::BalloonView& view, const QRect& character);
  // The user's own balloon font (the settings sheet), used instead of the character's;
  // an empty name or a size of 0 leaves that part as the character has it.
  void SetUserFont(std::string name, int size_pt) {
    picture_.SetUserFont(std::move(name), size_pt);
  }

  const QString& FullText() const { return picture_.FullText(); }
  const QString& ShownText() const { return picture_.ShownText(); }
  bool Thought() const { return picture_.Thought(); }
  const BalloonPlacement& Placement() const { return picture_.Placement(); }
  const QFont& TextFont() const { return picture_.TextFont(); }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  BalloonPicture picture_;
};

}  // namespace rirerazo::desktop
