// An event of the character control, queued when it happens and delivered to the player's
// listener when the player yields.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "platform/agent_control.h"

namespace rirerazo::runtime {

enum class EventKind : std::uint8_t {
  kBookmark,
  kRequestStart,
  kRequestComplete,
  kCommand,
  kShow,
  kHide,
  kClick,
  kDragComplete,
  kIdleStart,
  kBalloonShow,
  kBalloonHide,
  kListenStart,
  kListenComplete,
};

struct PendingEvent {
  EventKind kind = EventKind::kBookmark;
  std::int64_t at_ms = 0;  // when it happened on the runtime's time line
  std::string character_id;
  std::int32_t value = 0;  // bookmark id, request id, or x
  std::int32_t y = 0;
  platform::VisibilityCause cause = platform::VisibilityCause::kProgram;
  std::shared_ptr<const platform::UserInput> input;  // kCommand
};

// Calls the listener's handler for one event.
void DeliverTo(platform::AgentEvents& listener, const PendingEvent& event);

}  // namespace rirerazo::runtime
