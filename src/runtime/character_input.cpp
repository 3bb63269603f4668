// The user's side of a character (menu commands, speech input, clicks, drags, showing and
// hiding it from its own menu), its balloon, and what a renderer draws.
#include "runtime/private/character.h"

#include "platform/runtime_error.h"

namespace rirerazo::runtime {

void Character::ChooseCommand(const platform::UserInput& input) {
  runtime_.CatchUp();
  if (!commands_.Find(input.name)) {
    throw RuntimeError(err::kInvalidProcedureCall,
                       "The character " + id_ + " has no command named \"" + input.name + "\".");
  }
  RaiseCommand(input);
}

void Character::RaiseCommand(platform::UserInput input) {
  input.character_id = id_;
  PendingEvent event;
  event.kind = EventKind::kCommand;
  event.character_id = id_;
  event.input = std::make_shared<platform::UserInput>(std::move(input));
  runtime_.Raise(std::move(event));
}

void Character::EndHearing() {
  runtime_.CatchUp();
  if (!listening_) Raise(EventKind::kListenStart);
  listening_ = false;
  Raise(EventKind::kListenComplete);
}

// A phrase ends the listening session (or is a push-to-talk session of its own) and is
// reported with the commands whose grammar accepts it: the first as the best match, the next
// two as alternatives with the same confidence, so an ambiguous phrase looks ambiguous.
void Character::Hear(const std::string& phrase, std::int32_t confidence) {
  EndHearing();
  std::vector<const Command*> matches = commands_.MatchPhrase(phrase);
  platform::UserInput input;
  input.voice = phrase;
  input.confidence = confidence;
  if (matches.size() > 0) input.name = matches[0]->name;
  if (matches.size() > 1) {
    input.alt1_name = matches[1]->name;
    input.alt1_confidence = confidence;
  }
  if (matches.size() > 2) {
    input.alt2_name = matches[2]->name;
    input.alt2_confidence = confidence;
  }
  RaiseCommand(std::move(input));
}

void Character::Click(int x_px, int y_px) {
  runtime_.CatchUp();
  bool speaking = active_ && active_->stage == Stage::kSpeak;
  if (!speaking) HideBalloon();
  Raise(EventKind::kClick, x_px, y_px);
}

// A drop moves the character at once; a move in progress carries on from the drop point.
void Character::Drag(int x_px, int y_px) {
  runtime_.CatchUp();
  std::int64_t now = runtime_.ClockNowMs();
  bool speaking = active_ && active_->stage == Stage::kSpeak;
  if (!speaking) HideBalloon();
  left_ = x_px;
  top_ = y_px;
  if (active_ && active_->stage == Stage::kMove) {
    active_->from_x = x_px;
    active_->from_y = y_px;
    active_->move_start_ms = now;
  }
  runtime_.VisualChanged(id_);
  Raise(EventKind::kDragComplete, x_px, y_px);
}

// Showing or hiding from the character's own menu is immediate, without the state animation;
// queued requests carry on.
void Character::UserShow() {
  runtime_.CatchUp();
  if (visible_) return;
  visible_ = true;
  quiet_since_ms_ = runtime_.ClockNowMs();
  runtime_.VisualChanged(id_);
  Raise(EventKind::kShow, 0, 0, platform::VisibilityCause::kUser);
}

void Character::UserHide() {
  runtime_.CatchUp();
  if (!visible_) return;
  BecomeHidden(platform::VisibilityCause::kUser);
}

void Character::BecomeHidden(platform::VisibilityCause cause) {
  HideBalloon();
  balloon_hide_at_ms_.reset();
  visible_ = false;
  idle_level_ = 0;
  if (!active_ || (active_->stage != Stage::kExit && active_->stage != Stage::kAnimate)) {
    animation_.Clear();
  }
  winding_down_ = false;
  runtime_.VisualChanged(id_);
  Raise(EventKind::kHide, 0, 0, cause);
}

void Character::ShowBalloon(std::shared_ptr<const SpeechText> text, bool thought) {
  balloon_hide_at_ms_.reset();
  bool was_visible = balloon_visible_;
  balloon_visible_ = true;
  balloon_thought_ = thought;
  balloon_shown_ = balloon_.AutoPace() ? 0 : text->shown.size();
  balloon_text_ = std::move(text);
  runtime_.VisualChanged(id_);
  if (!was_visible) Raise(EventKind::kBalloonShow);
}

void Character::HideBalloon() {
  if (!balloon_visible_) return;
  balloon_visible_ = false;
  runtime_.VisualChanged(id_);
  Raise(EventKind::kBalloonHide);
}

// The position along one axis at a time, following a move in progress in a straight line.
std::int32_t Character::PositionAt(bool horizontal, std::int64_t now_ms) const {
  std::int32_t current = horizontal ? left_ : top_;
  if (!active_ || active_->stage != Stage::kMove) return current;
  const RequestInProgress& active = *active_;
  std::int64_t from = horizontal ? active.from_x : active.from_y;
  std::int64_t to = horizontal ? active.request.x : active.request.y;
  std::int64_t span = active.move_end_ms - active.move_start_ms;
  std::int64_t elapsed = std::clamp<std::int64_t>(now_ms - active.move_start_ms, 0, span);
  if (span <= 0) return std::int32_t(to);
  return std::int32_t(from + (to - from) * elapsed / span);
}

// The mouth takes the shapes the speech engine reports; for an engine that reports none it
// opens through a few shapes as each word starts and closes between words.
FrameState Character::Frame(std::int64_t now_ms) const {
  FrameState state;
  state.visible = visible_;
  state.left_px = PositionAt(true, now_ms);
  state.top_px = PositionAt(false, now_ms);
  state.width_px = width_;
  state.height_px = height_;
  state.animation = animation_.ShownAnimation();
  state.frame = animation_.ShownFrame();
  state.data = data_.get();
  bool speaking =
      active_ && active_->stage == Stage::kSpeak && active_->request.kind == RequestKind::kSpeak;
  if (speaking && animation_.ShownFrameHasMouths() && active_->engine_mouth >= 0) {
    state.mouth_shape = active_->engine_mouth;
  } else if (speaking && animation_.ShownFrameHasMouths()) {
    static constexpr int kShapes[] = {5, 2, 6, 3};
    std::int64_t since_word = active_->last_word_ms < 0 ? -1 : now_ms - active_->last_word_ms;
    bool open = since_word >= 0 && since_word < 240;
    state.mouth_shape =
        open ? kShapes[(std::size_t(since_word / 60) + active_->words_spoken) % 4] : 0;
  }
  return state;
}

BalloonView Character::Balloon() const {
  BalloonView view;
  view.visible = balloon_visible_;
  view.thought = balloon_thought_;
  if (balloon_text_) view.text = balloon_text_->shown;
  view.shown_length = balloon_shown_;
  view.settings = &balloon_;
  return view;
}

}  // namespace rirerazo::runtime
