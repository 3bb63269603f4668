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
bool FirstCharacterOffersOnlyClose(platform::AgentControl& agent,
                                   const CharacterTable& characters) {
  if (characters.loaded.empty()) return false;
  platform::AgentCharacter& first = agent.Character(characters.loaded.front().id);
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
    if (bookmark_id == BookmarkId(ReservedBookmark::kEndOfScript)) return;
    if (bookmark_id == BookmarkId(ReservedBookmark::kAdvanceSlide)) {
      WaitSlidePauseAndAdvance(player.clock(), player.loop(), player.slide_show().pause_s,
                               player.slide_show().driver);
    }
    for (const BookmarkEntry& entry : player.tables().bookmarks) {
      if (entry.id != bookmark_id) continue;
      // A copy: a script loaded meanwhile may replace the bookmark table.
      const std::string script = entry.script;
      if (!script.empty()) PlayScript(player, script, ScriptLevel::kNested);
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
    if (player.run().end_request.IsNull() || player.run().end_request.id != request.id) return;
    player.run().script_complete = true;
    if (player.startup().exit_when_done) {
      player.UnloadMainForm();
      return;
    }
    if (player.slide_show().busy) return;
    if (FirstCharacterOffersOnlyClose(player.agent(), player.characters())) StartShutdown(player);
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
