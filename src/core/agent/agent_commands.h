// The commands every loaded character offers in its command menu and to speech input:
// the script's commands followed by the player's own close command.
#pragma once

#include <string>

#include "platform/agent_control.h"

namespace rirerazo {

class Player;
struct ScriptTables;

inline constexpr const char* kCloseCommandName = "VORNClose";

// Rebuilds the commands of every character of the table, in table order. Failing calls of
// the character control are skipped.
void UpdateAgentCommandsAll(Player& player);

// Rebuilds one character's commands: the group caption is the script's menu name, or "RIRERazo - "
// and the id when the script names no menu; the group's voice is the id.
void UpdateAgentCommands(platform::AgentControl& agent, const ScriptTables& tables,
                         const std::string& id);

// A command chosen from a character's menu or spoken. Pending events run first; then the
// input is judged (command_rules.h): the close command starts the shutdown, any other
// name runs the script of the first command table entry with that name (case-sensitive)
// as a nested script. Errors are reported.
void AgentControl_Command(Player& player, const platform::UserInput& input);

}  // namespace rirerazo
