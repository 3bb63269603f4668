#include "runtime/events.h"

namespace rirerazo::runtime {

void DeliverTo(platform::AgentEvents& listener, const PendingEvent& event) {
  const std::string& id = event.character_id;
  switch (event.kind) {
    case EventKind::kBookmark:
      listener.OnBookmark(event.value);
      return;
    case EventKind::kRequestStart:
      listener.OnRequestStart(platform::AgentRequest{event.value});
      return;
    case EventKind::kRequestComplete:
      listener.OnRequestComplete(platform::AgentRequest{event.value});
      return;
    case EventKind::kCommand:
      if (event.input) listener.OnCommand(*event.input);
      return;
    case EventKind::kShow:
      listener.OnShow(id, event.cause);
      return;
    case EventKind::kHide:
      listener.OnHide(id, event.cause);
      return;
    case EventKind::kClick:
      listener.OnClick(id, event.value, event.y);
      return;
    case EventKind::kDragComplete:
      listener.OnDragComplete(id, event.value, event.y);
      return;
    case EventKind::kIdleStart:
      listener.OnIdleStart(id);
      return;
    case EventKind::kBalloonShow:
      listener.OnBalloonShow(id);
      return;
    case EventKind::kBalloonHide:
      listener.OnBalloonHide(id);
      return;
    case EventKind::kListenStart:
      listener.OnListenStart(id);
      return;
    case EventKind::kListenComplete:
      listener.OnListenComplete(id);
      return;
  }
}

}  // namespace rirerazo::runtime
