// How a character's requests play out in time: the stages of each request, the exit of a
// stopped animation, idling, and the bookkeeping when a request ends.
#include <algorithm>
#include <cstdlib>

#include "runtime/private/character.h"
#include "runtime/private/wav_info.h"
#include "runtime/rate_model.h"

namespace rirerazo::runtime {

namespace {

// Directions are the character's own: a point to the left of it on the screen lies to its
// right, so it gestures (or moves) "right".
StateId GestureState(std::int64_t dx, std::int64_t dy) {
  if (std::llabs(dx) >= std::llabs(dy)) {
    return dx < 0 ? StateId::kGesturingRight : StateId::kGesturingLeft;
  }
  return dy < 0 ? StateId::kGesturingUp : StateId::kGesturingDown;
}

StateId MoveState(std::int64_t dx, std::int64_t dy) {
  if (std::llabs(dx) >= std::llabs(dy)) {
    return dx < 0 ? StateId::kMovingRight : StateId::kMovingLeft;
  }
  return dy < 0 ? StateId::kMovingUp : StateId::kMovingDown;
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// When the character is next due, and what it does then.

std::optional<std::int64_t> Character::NextDueMs() const {
  std::optional<std::int64_t> work = WorkDueMs();
  if (!balloon_hide_at_ms_) return work;
  if (!work) return balloon_hide_at_ms_;
  return std::min(*work, *balloon_hide_at_ms_);
}

std::optional<std::int64_t> Character::ActiveDueMs() const {
  const RequestInProgress& active = *active_;
  switch (active.stage) {
    case Stage::kExit:
    case Stage::kAnimate:
      return animation_.FrameEndMs();
    case Stage::kMove:
      return active.move_end_ms;
    case Stage::kSpeak: {
      std::optional<std::int64_t> next = active.utterance->NextDueMs();
      if (!next) return active.speech_start_ms;
      return active.speech_start_ms + *next;
    }
    case Stage::kWait:
      if (active.wake_ms >= 0) return active.wake_ms;
      return std::nullopt;
    case Stage::kDone:
      return active.started_ms + options_.min_request_ms;
  }
  return std::nullopt;
}

std::optional<std::int64_t> Character::WorkDueMs() const {
  if (active_) return ActiveDueMs();
  if (winding_down_) return animation_.FrameEndMs();
  if (!queue_.empty()) return std::max(free_since_ms_, queue_.front().queued_at_ms);
  if (!options_.idle_enabled || !visible_ || !has_idle_animations_) return std::nullopt;
  if (idle_level_ > 0) return animation_.Playing() ? animation_.FrameEndMs() : idle_next_ms_;
  return quiet_since_ms_ + options_.idle_after_ms;
}

CharacterView Character::View(std::int64_t now_ms) const {
  CharacterView view;
  view.has_active = active_.has_value();
  view.winding_down = winding_down_;
  view.has_queued = !queue_.empty();
  view.visible = visible_;
  view.idling = idle_level_ > 0;
  view.quiet_long_enough = now_ms >= quiet_since_ms_ + options_.idle_after_ms;
  view.has_idle_animations = options_.idle_enabled && has_idle_animations_;
  return view;
}

void Character::Step(std::int64_t due_ms) {
  if (balloon_hide_at_ms_ && *balloon_hide_at_ms_ <= due_ms) {
    balloon_hide_at_ms_.reset();
    HideBalloon();
    return;
  }
  switch (DecideCharacterAction(View(due_ms))) {
    case CharacterAction::kStepActive:
      StepActive(due_ms);
      return;
    case CharacterAction::kStepWindDown:
      StepWindDown(due_ms);
      return;
    case CharacterAction::kStartHead:
      StartHead(due_ms);
      return;
    case CharacterAction::kStepIdle:
      StepIdle(due_ms, false);
      return;
    case CharacterAction::kStartIdle:
      StepIdle(due_ms, true);
      return;
    case CharacterAction::kNone:
      return;
  }
}

// ---------------------------------------------------------------------------------------------
// Requests.

void Character::StartHead(std::int64_t now_ms) {
  idle_level_ = 0;
  active_.emplace();
  active_->request = std::move(queue_.front());
  queue_.pop_front();
  active_->started_ms = now_ms;
  RequestTransition start =
      NextRequestState(runtime_.StatusOf(active_->request.id), RequestEvent::kStart);
  runtime_.SetStatus(active_->request.id, start.status);
  if (start.raises_start) Raise(EventKind::kRequestStart, active_->request.id);
  PlanStages(now_ms);
  EnterNextStage(now_ms);
}

// The stages of the request now active. Visibility changes what is drawn, not how long a
// request takes, except that Show and Hide are instant in the state they would produce and a
// hidden character moves and speaks without animations.
void Character::PlanStages(std::int64_t now_ms) {
  RequestInProgress& active = *active_;
  const Request& request = active.request;
  auto plan = [&](std::initializer_list<Stage> stages) {
    active.plan_size = 0;
    for (Stage stage : stages) active.plan[std::size_t(active.plan_size++)] = stage;
  };
  switch (request.kind) {
    case RequestKind::kShow:
      if (visible_) return plan({});
      visible_ = true;
      quiet_since_ms_ = now_ms;
      Raise(EventKind::kShow, 0, 0, platform::VisibilityCause::kProgram);
      runtime_.VisualChanged(id_);
      return plan({Stage::kAnimate});
    case RequestKind::kHide:
      if (!visible_) return plan({});
      return plan({Stage::kExit, Stage::kAnimate});
    case RequestKind::kPlay:
    case RequestKind::kGestureAt:
      return plan({Stage::kExit, Stage::kAnimate});
    case RequestKind::kMoveTo:
      if (request.x == left_ && request.y == top_) return plan({});
      if (request.speed_ms == 0 || !visible_) return plan({Stage::kMove});
      return plan({Stage::kExit, Stage::kAnimate, Stage::kMove});
    case RequestKind::kSpeak:
      if (!visible_ || animation_.ShownFrameHasMouths()) return plan({Stage::kSpeak});
      return plan({Stage::kExit, Stage::kAnimate, Stage::kSpeak});
    case RequestKind::kThink:
      return plan({Stage::kSpeak});
    case RequestKind::kWait:
      return plan({Stage::kWait});
  }
}

// Enters the following stages until one has to wait for time to pass; finishes the request
// when none is left and its minimum time has passed.
void Character::EnterNextStage(std::int64_t now_ms) {
  while (active_) {
    RequestInProgress& active = *active_;
    if (active.plan_next >= active.plan_size) {
      if (now_ms < active.started_ms + options_.min_request_ms) {
        active.stage = Stage::kDone;
        return;
      }
      Finish(active.outcome, now_ms);
      return;
    }
    active.stage = active.plan[std::size_t(active.plan_next++)];
    if (EnterStage(active.stage, now_ms)) return;
  }
}

// Begins a stage; false when it has nothing to do.
bool Character::EnterStage(Stage stage, std::int64_t now_ms) {
  RequestInProgress& active = *active_;
  const Request& request = active.request;
  switch (stage) {
    case Stage::kExit:
      if (animation_.Playing() || animation_.NeedsExit()) animation_.BeginExit(now_ms);
      return animation_.Playing();
    case Stage::kAnimate:
      active.lead_animation = LeadAnimation();
      if (active.lead_animation < 0) return false;
      animation_.Start(active.lead_animation, now_ms);
      runtime_.VisualChanged(id_);
      return true;
    case Stage::kMove:
      if (request.speed_ms == 0) {
        left_ = request.x;
        top_ = request.y;
        runtime_.VisualChanged(id_);
        return false;
      }
      active.from_x = left_;
      active.from_y = top_;
      active.move_start_ms = now_ms;
      active.move_end_ms = now_ms + request.speed_ms;
      return true;
    case Stage::kSpeak:
      return StartSpeech(now_ms);
    case Stage::kWait:
      // A wait names a request that existed when it was queued, so that request is ahead of
      // the wait in its own queue and waits can never form a cycle.
      return !IsFinished(runtime_.StatusOf(request.target));
    case Stage::kDone:
      return false;
  }
  return false;
}

// The animation the current stage plays: the requested one, or one of the state's at random.
int Character::LeadAnimation() {
  const Request& request = active_->request;
  StateId state = StateId::kShowing;
  switch (request.kind) {
    case RequestKind::kPlay:
      return request.animation;
    case RequestKind::kShow:
      state = StateId::kShowing;
      break;
    case RequestKind::kHide:
      state = StateId::kHiding;
      break;
    case RequestKind::kSpeak:
      state = StateId::kSpeaking;
      break;
    case RequestKind::kMoveTo:
      state = MoveState(std::int64_t(request.x) - left_, std::int64_t(request.y) - top_);
      break;
    case RequestKind::kGestureAt:
      state = GestureState(std::int64_t(request.x) - (left_ + width_ / 2),
                           std::int64_t(request.y) - (top_ + height_ / 2));
      break;
    default:
      return -1;
  }
  const std::vector<int>& choices = data_->State(state);
  if (choices.empty()) return -1;
  return choices[random_.Below(std::uint32_t(choices.size()))];
}

void Character::StepActive(std::int64_t now_ms) {
  RequestInProgress& active = *active_;
  switch (active.stage) {
    case Stage::kExit:
    case Stage::kAnimate: {
      // Only a played animation may loop while nothing else is queued; anything else that
      // loops (a state animation leading into a move or speech) ends at its loop point.
      bool exit_on_loop = active.stage == Stage::kExit ||
                          active.request.kind != RequestKind::kPlay || !queue_.empty();
      animation_.Step(random_, exit_on_loop);
      runtime_.VisualChanged(id_);
      if (!animation_.Playing()) EnterNextStage(now_ms);
      return;
    }
    case Stage::kMove:
      left_ = active.request.x;
      top_ = active.request.y;
      runtime_.VisualChanged(id_);
      EnterNextStage(now_ms);
      return;
    case Stage::kSpeak:
      StepSpeech(now_ms);
      return;
    case Stage::kWait:
    case Stage::kDone:
      EnterNextStage(now_ms);
      return;
  }
}

// Ends the active request as complete or failed, with its after-effects.
void Character::Finish(RequestEvent event, std::int64_t now_ms) {
  if (event == RequestEvent::kFinish && active_->request.kind == RequestKind::kHide && visible_) {
    BecomeHidden(platform::VisibilityCause::kProgram);
    animation_.Clear();
  }
  std::int32_t id = active_->request.id;
  active_.reset();
  BecomeFree(now_ms);
  EndRequest(id, event, now_ms);
}

// Stop: the request in progress ends at once; its animation still plays its exit before the
// next request begins, and a move stays where it got to.
void Character::Interrupt(std::int64_t now_ms) {
  RequestInProgress& active = *active_;
  if (active.stage == Stage::kMove) {
    left_ = PositionAt(true, now_ms);
    top_ = PositionAt(false, now_ms);
  }
  if (active.stage == Stage::kSpeak) {
    active.utterance->Cancel();
    HideBalloon();
  }
  std::int32_t id = active.request.id;
  active_.reset();
  if (animation_.Playing()) animation_.BeginExit(now_ms);
  winding_down_ = animation_.Playing();
  BecomeFree(now_ms);
  EndRequest(id, RequestEvent::kStop, now_ms);
  runtime_.VisualChanged(id_);
}

void Character::EndRequest(std::int32_t id, RequestEvent event, std::int64_t now_ms) {
  RequestTransition end = NextRequestState(runtime_.StatusOf(id), event);
  runtime_.SetStatus(id, end.status);
  if (end.raises_complete) Raise(EventKind::kRequestComplete, id);
  runtime_.RequestEnded(id, now_ms);
}

void Character::BecomeFree(std::int64_t now_ms) {
  free_since_ms_ = now_ms;
  quiet_since_ms_ = now_ms;
}

void Character::EndAll(std::int64_t now_ms) {
  if (active_) Interrupt(now_ms);
  std::deque<Request> stopped;
  stopped.swap(queue_);
  for (const Request& request : stopped) EndRequest(request.id, RequestEvent::kStop, now_ms);
  winding_down_ = false;
}

void Character::OnRequestEnded(std::int32_t id, std::int64_t at_ms) {
  if (active_ && active_->stage == Stage::kWait && active_->request.target == id) {
    active_->wake_ms = at_ms;
  }
}

// ---------------------------------------------------------------------------------------------
// Speech.

bool Character::StartSpeech(std::int64_t now_ms) {
  RequestInProgress& active = *active_;
  Request& request = active.request;
  bool thought = request.kind == RequestKind::kThink;
  if (request.speech->repeat_last) {
    request.speech = last_speech_ ? last_speech_ : std::make_shared<const SpeechText>();
  }
  active.speech_start_ms = now_ms;
  if (!request.sound_path.empty()) {
    std::optional<std::int64_t> length_ms = WavDurationMs(request.sound_path);
    if (!length_ms) {
      active.outcome = RequestEvent::kFail;
      active.plan_next = active.plan_size;
      return false;
    }
    active.utterance =
        runtime_.engine_.SpeakRecording(*request.speech, request.sound_path, *length_ms);
  } else {
    active.utterance = runtime_.engine_.Speak(*request.speech, voice_, thought);
  }
  if (!thought) last_speech_ = request.speech;
  if (visible_ && balloon_.On() && !request.speech->shown.empty()) {
    ShowBalloon(request.speech, thought);
  }
  return true;
}

void Character::StepSpeech(std::int64_t now_ms) {
  RequestInProgress& active = *active_;
  SpeechProgress report;
  if (!active.utterance->Poll(now_ms - active.speech_start_ms, report)) {
    if (!active.utterance->NextDueMs()) FinishSpeech(now_ms);
    return;
  }
  const SpeechText& text = *active.request.speech;
  switch (report.kind) {
    case SpeechProgress::Kind::kWord:
      active.last_word_ms = now_ms;
      ++active.words_spoken;
      if (balloon_visible_ && balloon_text_ == active.request.speech && balloon_.AutoPace()) {
        balloon_shown_ = std::max<std::size_t>(balloon_shown_, text.items[report.item].shown_end);
      }
      runtime_.VisualChanged(id_);
      return;
    case SpeechProgress::Kind::kMark:
      Raise(EventKind::kBookmark, report.mark);
      return;
    case SpeechProgress::Kind::kMouth:
      active.engine_mouth = report.mouth;
      runtime_.VisualChanged(id_);
      return;
    case SpeechProgress::Kind::kEnd:
      FinishSpeech(now_ms);
      return;
  }
}

void Character::FinishSpeech(std::int64_t now_ms) {
  RequestInProgress& active = *active_;
  if (balloon_visible_ && balloon_text_ == active.request.speech) {
    balloon_shown_ = balloon_text_->shown.size();
    if (balloon_.AutoHide()) balloon_hide_at_ms_ = now_ms + options_.balloon_hide_delay_ms;
  }
  active.last_word_ms = -1;
  EnterNextStage(now_ms);
}

// ---------------------------------------------------------------------------------------------
// Exits after a stop, and idling.

void Character::StepWindDown(std::int64_t now_ms) {
  animation_.Step(random_, true);
  runtime_.VisualChanged(id_);
  if (animation_.Playing()) return;
  winding_down_ = false;
  BecomeFree(now_ms);
}

// Idling plays animations of the idling states, the level rising with the time spent idle,
// with a rest between them. It ends when a request starts (through that request's exit).
void Character::StepIdle(std::int64_t now_ms, bool starting) {
  if (starting) {
    idle_level_ = 1;
    idle_started_ms_ = now_ms;
    idle_next_ms_ = now_ms;
    Raise(EventKind::kIdleStart);
    if (animation_.NeedsExit()) animation_.BeginExit(now_ms);
    return;
  }
  if (animation_.Playing()) {
    animation_.Step(random_, false);
    runtime_.VisualChanged(id_);
    if (!animation_.Playing()) idle_next_ms_ = now_ms + options_.idle_gap_ms;
    return;
  }
  std::int64_t idle_for = now_ms - idle_started_ms_;
  idle_level_ = idle_for >= options_.idle_level3_after_ms   ? 3
                : idle_for >= options_.idle_level2_after_ms ? 2
                                                            : 1;
  const std::vector<int>* choices = nullptr;
  for (int level = idle_level_; level >= 1 && (!choices || choices->empty()); --level) {
    choices = &data_->State(StateId(int(StateId::kIdling1) + level - 1));
  }
  for (int level = idle_level_ + 1; level <= 3 && choices->empty(); ++level) {
    choices = &data_->State(StateId(int(StateId::kIdling1) + level - 1));
  }
  animation_.Start((*choices)[random_.Below(std::uint32_t(choices->size()))], now_ms);
  runtime_.VisualChanged(id_);
}

// ---------------------------------------------------------------------------------------------
// What counts as work.

// The character will change without user input: a request that moves on by itself, a queued
// request, an exit still playing or a balloon about to hide. A played animation that loops
// with nothing queued behind it, and a wait on such a request, only the user can end.
bool Character::Progressing(int depth) const {
  if (balloon_hide_at_ms_ || winding_down_) return true;
  if (!active_) return !queue_.empty();
  const RequestInProgress& active = *active_;
  if (active.stage == Stage::kWait) {
    return active.wake_ms >= 0 || runtime_.RequestCanProgress(active.request.target, depth + 1);
  }
  bool held_loop = active.request.kind == RequestKind::kPlay && active.stage == Stage::kAnimate &&
                   animation_.Endless() && queue_.empty();
  return !held_loop;
}

bool Character::HoldsForUser() const {
  return active_ && !Progressing(0);
}

}  // namespace rirerazo::runtime
