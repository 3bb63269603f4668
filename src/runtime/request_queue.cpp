#include "runtime/request_queue.h"

namespace rirerazo::runtime {

RequestTransition NextRequestState(RequestStatus status, RequestEvent event) {
  if (IsFinished(status)) return {status, false, false};
  const bool pending = status == RequestStatus::kPending;
  switch (event) {
    case RequestEvent::kStart:
      if (pending) return {RequestStatus::kInProgress, true, false};
      return {status, false, false};
    case RequestEvent::kFinish:
      if (pending) return {status, false, false};
      return {RequestStatus::kComplete, false, true};
    case RequestEvent::kFail:
      return {RequestStatus::kFailed, false, true};
    case RequestEvent::kStop:
      return {RequestStatus::kInterrupted, false, true};
  }
  return {status, false, false};
}

CharacterAction DecideCharacterAction(const CharacterView& view) {
  if (view.has_active) return CharacterAction::kStepActive;
  if (view.winding_down) return CharacterAction::kStepWindDown;
  if (view.has_queued) return CharacterAction::kStartHead;
  if (!view.visible || !view.has_idle_animations) return CharacterAction::kNone;
  if (view.idling) return CharacterAction::kStepIdle;
  if (view.quiet_long_enough) return CharacterAction::kStartIdle;
  return CharacterAction::kNone;
}

}  // namespace rirerazo::runtime
