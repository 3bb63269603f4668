#include "core/agent/agent_events.h"

#include <string>

#include "core/app/player.h"
#include "core/interp/play_script.h"
#include "core/ppt/slide_pause.h"
#include "platform/runtime_error.h"

namespace rirerazo {

void AgentControl_Bookmark(Player& player, std::int32_t bookmark_id) {
  try {
    if (bookmark_id == kEndOfScriptBookmark) return;
    if (bookmark_id == kAdvanceSlideBookmark) {
      WaitSlidePauseAndAdvance(player.clock(), player.loop(), player.gPowerPointPause,
                               player.gPowerPoint);
    }
    for (const BookmarkEntry& entry : player.gBookmarks) {
      if (entry.BookmarkID != bookmark_id) continue;
      // A copy: a script loaded meanwhile may replace the bookmark table.
      const std::string script = entry.Script;
      if (!script.empty()) PlayScript(player, script, true, false);
      return;
    }
  } catch (...) {
    player.ReportError("RIRERazo:", "AgentControl_Bookmark", app::CurrentError());
  }
}

void AgentControl_RequestComplete(Player& player, platform::AgentRequest request) {
  if (player.mEndRequest.IsNull() || player.mEndRequest.id != request.id) return;
  player.fScriptComplete = true;
  if (player.mfExitWhenDone) player.UnloadMainForm();
}

}  // namespace rirerazo
