// What the player does when the character control reports progress: scripts registered
// for speech bookmarks run, and the completion of the end-of-script request marks the
// script complete.
#pragma once

#include <cstdint>

#include "platform/agent_control.h"

namespace rirerazo {

class Player;

inline constexpr std::int32_t kEndOfScriptBookmark = 111111111;
inline constexpr std::int32_t kAdvanceSlideBookmark = 333333333;

// Runs the script of the first bookmark entry with this id, as a nested script. The
// end-of-script bookmark never runs a script; the slide-advance bookmark first waits the
// slide pause and advances the running show.
void AgentControl_Bookmark(Player& player, std::int32_t bookmark_id);

// Notes that the latest end-of-script request has completed; with mfExitWhenDone the
// main form unloads at once.
void AgentControl_RequestComplete(Player& player, platform::AgentRequest request);

}  // namespace rirerazo
