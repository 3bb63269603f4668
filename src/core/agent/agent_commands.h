// The commands every loaded character offers in its command menu and to speech input:
// the script's commands followed by the player's own close command.
#pragma once

#include <string>

namespace rirerazo {

class Player;

inline constexpr const char* kCloseCommandName = "VORNClose";

// Rebuilds the commands of every character of the table, in table order. Failing calls of
// the character control are skipped.
void UpdateAgentCommandsAll(Player& player);

// Rebuilds one character's commands: the group caption is gMenuName, or "RIRERazo - " and
// the id when the script names no menu; the group's voice is the id.
void UpdateAgentCommands(Player& player, const std::string& id);

}  // namespace rirerazo
