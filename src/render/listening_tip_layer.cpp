#include "render/listening_tip_layer.h"

#include <algorithm>
#include <utility>
#include <vector>

namespace rirerazo::render {

ListeningTipLayer::ListeningTipLayer(const runtime::CharacterRuntime& runtime,
                                     const platform::Clock& clock)
    : runtime_(runtime), clock_(clock) {}

void ListeningTipLayer::Heard(const std::string& listener, const std::string& phrase,
                              std::int32_t confidence) {
  session_.clear();
  Show(desktop::HeardTipFor(listener, phrase, confidence), clock_.NowMs() + desktop::kTipShownMs);
}

void ListeningTipLayer::NothingHeard(const std::string& listener) {
  session_.clear();
  Show(desktop::NothingHeardTipFor(listener), clock_.NowMs() + desktop::kTipShownMs);
}

std::optional<std::string> ListeningTipLayer::ListeningCharacter() const {
  for (const std::string& id : runtime_.CharacterIds()) {
    if (runtime_.Listening(id)) return id;
  }
  return std::nullopt;
}

bool ListeningTipLayer::StillListening(const std::string& character) const {
  const std::vector<std::string> ids = runtime_.CharacterIds();
  return std::find(ids.begin(), ids.end(), character) != ids.end() && runtime_.Listening(character);
}

// The same turns as the desktop's: what was heard goes when its time is up, a session the
// script (or an unload) ended hides the tip, and a character listening opens a session.
bool ListeningTipLayer::Sync(const PlaceOf& place_of, const QRect& screen) {
  if (hide_at_ms_ && *hide_at_ms_ <= clock_.NowMs() && session_.empty()) Show({}, std::nullopt);
  if (!session_.empty() && !StillListening(session_)) {
    session_.clear();
    Show({}, std::nullopt);
  }
  if (session_.empty()) {
    if (std::optional<std::string> listener = ListeningCharacter()) {
      session_ = *listener;
      Show(desktop::ListeningTipFor(*listener), std::nullopt);
    }
  }
  const QRect character = state_.character.empty() ? QRect() : place_of(state_.character);
  const bool shown = !character.isEmpty();
  bool changed = std::exchange(state_changed_, false) && (shown || shown_);
  if (shown) {
    changed |=
        picture_.Update(QString::fromStdString(state_.text), state_.listening, character, screen);
  }
  changed |= shown != shown_;
  shown_ = shown;
  return changed;
}

void ListeningTipLayer::Paint(QPainter& painter) const {
  if (!shown_) return;
  painter.save();
  painter.translate(picture_.Window().topLeft());
  picture_.Paint(painter);
  painter.restore();
}

void ListeningTipLayer::Show(desktop::ListeningTipState state,
                             std::optional<std::int64_t> hide_at_ms) {
  hide_at_ms_ = state.character.empty() ? std::nullopt : hide_at_ms;
  if (state == state_) return;
  state_ = std::move(state);
  state_changed_ = true;
}

}  // namespace rirerazo::render
