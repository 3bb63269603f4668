#include "core/agent/agent_events.h"

#include <string>

#include "core/app/player.h"
#include "core/app/shutdown.h"
#include "core/app/tray_menu.h"
#include "core/interp/play_script.h"
#include "core/ppt/slide_pause.h"
#include "platform/runtime_error.h"

namespace rirerazo {
namespace {

// The first character's commands pass the close-only test. An empty table fails it.
bool FirstCharacterOffersOnlyClose(Player& player) {
  if (player.gCharacters.empty()) return false;
  platform::AgentCharacter& first = player.agent().Character(player.gCharacters.front().CharID);
  const int count = first.CommandsCount();
  std::optional<std::string> alias_caption;
  if (count == 2) {
    try {
      alias_caption = first.CommandCaption(kCloseAliasCommand);
    } catch (const RuntimeError&) {
    }
  }
  return OffersOnlyClose(count, alias_caption);
}

}  // namespace

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

bool OffersOnlyClose(int count, const std::optional<std::string>& close_alias_caption) {
  if (count == 1) return true;
  return count == 2 && close_alias_caption.has_value() && !close_alias_caption->empty();
}

void AgentControl_RequestComplete(Player& player, platform::AgentRequest request) {
  try {
    if (player.mEndRequest.IsNull() || player.mEndRequest.id != request.id) return;
    player.fScriptComplete = true;
    if (player.mfExitWhenDone) {
      player.UnloadMainForm();
      return;
    }
    if (player.gPowerPointBusy) return;
    if (FirstCharacterOffersOnlyClose(player)) StartShutdown(player);
  } catch (...) {
  }
}

void AgentControl_Show(Player& player, const std::string&, platform::VisibilityCause) {
  UpdateMenu(player);
}

void AgentControl_Hide(Player& player, const std::string&, platform::VisibilityCause) {
  try {
    UpdateMenu(player);
  } catch (...) {
    player.ReportError("RIRERazo:", "AgentControl_Hide", app::CurrentError());
  }
}

}  // namespace rirerazo
