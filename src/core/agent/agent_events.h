// What the player does when the character control reports progress: scripts registered
// for speech bookmarks run, the slide-advance bookmark waits its pause and advances the
// slide, the completion of the end-of-script request marks the script complete and, when
// the script offers nothing but the close command, starts the shutdown; Show and Hide keep
// the tray menu's captions current.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "core/agent/reserved_bookmarks.h"
#include "platform/agent_control.h"

namespace rirerazo {

class Player;

// The name of the command whose presence as a second command still counts as "only the
// close command offered" (when it has a caption).
inline constexpr const char* kCloseAliasCommand = "ACO";

// The end-of-script bookmark returns at once. The slide-advance bookmark first waits
// the slide show's pause_s whole seconds of a one-second clock (yielding, then sleeping 100 ms, at
// least once), then advances the slide show; after that, like any other id, it runs the
// script of the first bookmark entry with this id, as a nested script. Errors are reported.
void AgentControl_Bookmark(Player& player, std::int32_t bookmark_id);

// Only the latest end-of-script request counts: it sets ScriptRun::script_complete;
// then StartupState::exit_when_done unloads the main form at once; a running slide show carries on;
// and a script that offers nothing but the close command starts the shutdown. Errors are
// suppressed.
void AgentControl_RequestComplete(Player& player, platform::AgentRequest request);

// The close-only test on the first character's commands: `count` commands, and the caption
// of the "ACO" command (nullopt when it has none).
bool OffersOnlyClose(int count, const std::optional<std::string>& close_alias_caption);

// Both update the tray menu; Hide reports errors.
void AgentControl_Show(Player& player, const std::string& character_id,
                       platform::VisibilityCause cause);
void AgentControl_Hide(Player& player, const std::string& character_id,
                       platform::VisibilityCause cause);

}  // namespace rirerazo
