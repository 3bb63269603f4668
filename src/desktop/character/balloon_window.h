// The word balloon of one character, a window of its own: the character file's colours and
// font (as the script changed them), the body sized by lines and characters per line or to
// the text, the text revealed as the runtime says (word by word when paced), a pointed tail
// toward the character for speech and a trail of bubbles for thought. The runtime decides
// when the balloon shows and hides and how much text is shown; this window only draws.
// Shaped like its outline: translucent with a compositing manager, masked without one. It
// takes no mouse input: clicks fall through to what lies below.
#pragma once

#include <QFont>
#include <QPainterPath>
#include <QRect>
#include <QString>
#include <QWidget>

#include "desktop/character/balloon_layout.h"
#include "runtime/balloon.h"

namespace rirerazo::desktop {

class BalloonWindow : public QWidget {
  Q_OBJECT

 public:
  explicit BalloonWindow(bool per_pixel_alpha);

  // Shows, places and redraws the balloon for `view`, next to the character's window
  // (screen rectangle); hides it when the view is not visible.
  void Apply(const runtime::BalloonView& view, const QRect& character);
  // The user's own balloon font (the settings sheet), used instead of the character's;
  // an empty name or a size of 0 leaves that part as the character has it.
  void SetUserFont(std::string name, int size_pt);

  const QString& FullText() const { return full_text_; }
  const QString& ShownText() const { return shown_text_; }
  bool Thought() const { return thought_; }
  const BalloonPlacement& Placement() const { return placement_; }
  const QFont& TextFont() const { return font_; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  struct Look {
    std::string font_name;
    int font_size = 0;
    int lines = 0;
    int chars_per_line = 0;
    bool size_to_text = false;
    bool thought = false;
    std::uint32_t text_colour = 0;
    std::uint32_t back_colour = 0;
    std::uint32_t border_colour = 0;
    QString text;
    QRect character;
    bool operator==(const Look&) const = default;
  };
  void Relayout(const Look& look);
  QPainterPath Outline() const;  // in window coordinates

  bool per_pixel_alpha_;
  std::string user_font_name_;
  int user_font_size_pt_ = 0;
  Look look_;
  bool laid_out_ = false;
  QFont font_;
  QString full_text_;
  QString shown_text_;
  bool thought_ = false;
  BalloonPlacement placement_;
};

// The balloon's text as UTF-8 (legacy 8-bit text decoded), and the revealed part of it cut
// at a character boundary.
struct BalloonText {
  QString full;
  QString shown;
};
BalloonText BalloonTextOf(const runtime::BalloonView& view);

}  // namespace rirerazo::desktop
