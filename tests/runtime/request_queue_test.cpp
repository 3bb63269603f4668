// The request status machine and the scheduler's choice, as whole matrices.
#include <gtest/gtest.h>

#include "runtime/request_queue.h"

namespace rirerazo::runtime {
namespace {

using S = platform::RequestStatus;
using E = RequestEvent;

struct Row {
  S from;
  E event;
  S to;
  bool start;
  bool complete;
};

TEST(RequestStatusMachine, EveryStatusAndEvent) {
  const Row rows[] = {
      {S::kPending, E::kStart, S::kInProgress, true, false},
      {S::kPending, E::kFinish, S::kPending, false, false},
      {S::kPending, E::kFail, S::kFailed, false, true},
      {S::kPending, E::kStop, S::kInterrupted, false, true},
      {S::kInProgress, E::kStart, S::kInProgress, false, false},
      {S::kInProgress, E::kFinish, S::kComplete, false, true},
      {S::kInProgress, E::kFail, S::kFailed, false, true},
      {S::kInProgress, E::kStop, S::kInterrupted, false, true},
  };
  for (const Row& row : rows) {
    RequestTransition t = NextRequestState(row.from, row.event);
    EXPECT_EQ(t.status, row.to) << int(row.from) << " x " << int(row.event);
    EXPECT_EQ(t.raises_start, row.start) << int(row.from) << " x " << int(row.event);
    EXPECT_EQ(t.raises_complete, row.complete) << int(row.from) << " x " << int(row.event);
  }
}

TEST(RequestStatusMachine, FinishedRequestsNeverChangeOrRaiseAgain) {
  for (S finished : {S::kComplete, S::kInterrupted, S::kFailed}) {
    for (E event : {E::kStart, E::kFinish, E::kFail, E::kStop}) {
      RequestTransition t = NextRequestState(finished, event);
      EXPECT_EQ(t.status, finished);
      EXPECT_FALSE(t.raises_start || t.raises_complete);
    }
  }
}

// Every combination of the view's flags against the rule "work before idling, the request in
// progress before the queue, an exit before the next request".
TEST(CharacterScheduler, WholeViewMatrix) {
  for (int bits = 0; bits < 128; ++bits) {
    CharacterView v;
    v.has_active = bits & 1;
    v.winding_down = bits & 2;
    v.has_queued = bits & 4;
    v.visible = bits & 8;
    v.idling = bits & 16;
    v.quiet_long_enough = bits & 32;
    v.has_idle_animations = bits & 64;
    CharacterAction expected = CharacterAction::kNone;
    if (v.has_active) {
      expected = CharacterAction::kStepActive;
    } else if (v.winding_down) {
      expected = CharacterAction::kStepWindDown;
    } else if (v.has_queued) {
      expected = CharacterAction::kStartHead;
    } else if (v.visible && v.has_idle_animations && v.idling) {
      expected = CharacterAction::kStepIdle;
    } else if (v.visible && v.has_idle_animations && v.quiet_long_enough) {
      expected = CharacterAction::kStartIdle;
    }
    EXPECT_EQ(DecideCharacterAction(v), expected) << "view bits " << bits;
  }
}

}  // namespace
}  // namespace rirerazo::runtime
