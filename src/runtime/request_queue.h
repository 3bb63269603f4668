// The decisions of the request queues, apart from their effects: how a request's status
// moves, and what a character does next when its time comes. Both are pure functions; the
// character applies them (starts animations, raises events) around them.
#pragma once

#include "platform/agent_control.h"

namespace rirerazo::runtime {

using platform::RequestStatus;

enum class RequestEvent {
  kStart,   // the request reached the head of its queue and begins
  kFinish,  // it did what it was asked
  kFail,    // it cannot be done (a missing sound file, a wait that would never end)
  kStop,    // Stop, StopAll, Unload, or the character went away
};

struct RequestTransition {
  RequestStatus status = RequestStatus::kPending;
  bool raises_start = false;     // RequestStart is raised
  bool raises_complete = false;  // RequestComplete is raised (once per request, ever)
};

// Finished requests (complete, interrupted, failed) never change again, so stopping a request
// twice raises nothing the second time. Finishing a request that never started is not a
// move: it stays as it was.
RequestTransition NextRequestState(RequestStatus status, RequestEvent event);

inline bool IsFinished(RequestStatus status) {
  return status == RequestStatus::kComplete || status == RequestStatus::kInterrupted ||
         status == RequestStatus::kFailed;
}

// What a character looks like to the scheduler when it is due.
struct CharacterView {
  bool has_active = false;    // a request is in progress
  bool winding_down = false;  // a stopped animation still plays its exit
  bool has_queued = false;    // requests wait in the queue
  bool visible = false;
  bool idling = false;             // idle animations are playing
  bool quiet_long_enough = false;  // the quiet spell before idling has passed
  bool has_idle_animations = false;
};

enum class CharacterAction {
  kNone,          // nothing to do until something is queued
  kStepActive,    // carry the request in progress on
  kStepWindDown,  // play the stopped animation's exit on
  kStartHead,     // start the first queued request (idling ends through its exit)
  kStepIdle,      // carry idling on
  kStartIdle,     // begin idling (raises IdleStart)
};

// Work always goes before idling; a request in progress before the queue; a stopped
// animation finishes its exit before the next request begins.
CharacterAction DecideCharacterAction(const CharacterView& view);

}  // namespace rirerazo::runtime
