// The look of one word balloon apart from any window: laid out for the runtime's
// BalloonView next to a character on a screen, and painted with a QPainter. The balloon
// window paints it on itself; the video renderer paints it onto its canvas, so both show the
// same balloon. Layout is redone only when something that shapes the balloon changes; the
// revealed text alone only repaints.
#pragma once

#include <QFont>
#include <QPainter>
#include <QPainterPath>
#include <QRect>
#include <QString>
#include <cstdint>
#include <string>

#include "desktop/character/balloon_layout.h"
#include "runtime/balloon.h"

namespace rirerazo::desktop {

class BalloonPicture {
 public:
  struct Change {
    bool visible = false;       // a balloon shows
    bool relaid = false;        // its place, size or look changed
    bool text_changed = false;  // only the revealed text changed
  };

  // Brings the balloon to `view` beside `character` (screen rectangle) on `screen`.
  Change Update(const runtime::BalloonView& view, const QRect& character, const QRect& screen);
  // The user's own balloon font, used instead of the character's; an empty name or a size
  // of 0 leaves that part as the character has it.
  void SetUserFont(std::string name, int size_pt);

  // Paints the balloon with its placement's window at the painter's origin.
  void Paint(QPainter& painter) const;
  // The outline of body and tail, in the same coordinates as Paint.
  QPainterPath Outline() const;

  const QString& FullText() const { return full_text_; }
  const QString& ShownText() const { return shown_text_; }
  bool Thought() const { return look_.thought; }
  const BalloonPlacement& Placement() const { return placement_; }
  const QFont& TextFont() const { return font_; }
  // The body less its padding, in the same coordinates as Paint.
  QRect TextArea() const;

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
    QRect screen;
    bool operator==(const Look&) const = default;
  };
  void Relayout(const Look& look);

  std::string user_font_name_;
  int user_font_size_pt_ = 0;
  Look look_;
  bool laid_out_ = false;
  QFont font_;
  QString full_text_;
  QString shown_text_;
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
