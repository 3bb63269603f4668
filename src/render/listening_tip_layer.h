// The listening tip in a render: the desktop's tip (ListeningTipPicture, with the words of
// listening_tip_state.h) beside the character that listens, above everything else, as the
// desktop's tip window stays on top.
//
// Driven by what the render knows. A session is open while a character listens in the
// runtime (the first listening one in load order, as on the desktop): the tip says
// "Listening…". The user input's `say` and `hear` lines are the user speaking; the host
// reports each with Heard (or NothingHeard), and the tip then tells what was heard for
// kTipShownMs, unless a new session starts first. A session the script ends hides the tip at
// once. Sessions never time out here: the input script is the user, and it speaks when it
// says, as in a headless run, so the runtime (and the trace) go exactly as there.
#pragma once

#include <QPainter>
#include <QRect>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "desktop/character/listening_tip_picture.h"
#include "desktop/host/listening_tip_state.h"
#include "platform/clock.h"
#include "runtime/character_runtime.h"

namespace rirerazo::render {

class ListeningTipLayer {
 public:
  // Where a character lies on the screen (its last drawn place); empty while unknown.
  using PlaceOf = std::function<QRect(const std::string& character)>;

  // Neither is owned; both outlive the layer.
  ListeningTipLayer(const runtime::CharacterRuntime& runtime, const platform::Clock& clock);

  // The user said `phrase` while `listener` listened (the runtime has taken it).
  void Heard(const std::string& listener, const std::string& phrase, std::int32_t confidence);
  // A recording in which the recogniser found no words was heard while `listener` listened.
  void NothingHeard(const std::string& listener);

  // Brings the tip to the runtime's listening at the clock's time and lays it out beside
  // its character within `screen`; true when what it shows, or where, changed.
  bool Sync(const PlaceOf& place_of, const QRect& screen);
  // Paints the tip, when one shows, at its place on the screen.
  void Paint(QPainter& painter) const;

  // Where the tip lies on the screen; empty while none shows.
  QRect Place() const { return shown_ ? picture_.Window() : QRect(); }
  const desktop::ListeningTipState& State() const { return state_; }

 private:
  std::optional<std::string> ListeningCharacter() const;
  bool StillListening(const std::string& character) const;
  void Show(desktop::ListeningTipState state, std::optional<std::int64_t> hide_at_ms);

  const runtime::CharacterRuntime& runtime_;
  const platform::Clock& clock_;
  std::string session_;  // the character whose session is open; empty: none
  desktop::ListeningTipState state_;
  std::optional<std::int64_t> hide_at_ms_;
  desktop::ListeningTipPicture picture_;
  bool shown_ = false;         // the picture is laid out for state_ and painted
  bool state_changed_ = true;  // since the last Sync
};

}  // namespace rirerazo::render
