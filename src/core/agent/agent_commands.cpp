#include "core/agent/agent_commands.h"

#include <optional>

#include "core/agent/command_rules.h"
#include "core/app/player.h"
#include "core/app/shutdown.h"
#include "core/interp/play_script.h"
#include "platform/runtime_error.h"

namespace rirerazo {
namespace {

// Each call is skipped on its own when the control refuses it.
template <class Call>
void Try(Call&& call) {
  try {
    call();
  } catch (const RuntimeError&) {
  }
}

// The script of the first entry named `name`; nothing when there is none.
std::optional<std::string> CommandScript(const Player& player, const std::string& name) {
  for (const CommandEntry& command : player.gCommands) {
    if (command.Name == name) return command.Script;
  }
  return std::nullopt;
}

}  // namespace

void UpdateAgentCommands(Player& player, const std::string& id) {
  platform::AgentCharacter* character = nullptr;
  Try([&] { character = &player.agent().Character(id); });
  if (character == nullptr) return;
  Try([&] { character->CommandsRemoveAll(); });
  const std::string caption =
      player.gMenuName.empty() ? std::string("RIRERazo - ") + id : player.gMenuName;
  Try([&] { character->SetCommandsCaption(caption); });
  Try([&] { character->SetCommandsVoice(id); });
  for (const CommandEntry& command : player.gCommands) {
    Try([&] { character->CommandsAdd(command.Name, command.Caption, command.Voice); });
  }
  Try([&] { character->CommandsAdd(kCloseCommandName, "Close", ""); });
}

void UpdateAgentCommandsAll(Player& player) {
  for (std::size_t i = 0; i < player.gCharacters.size(); ++i) {
    UpdateAgentCommands(player, player.gCharacters[i].CharID);
  }
}

void AgentControl_Command(Player& player, const platform::UserInput& input) {
  try {
    player.loop().DoEvents();
    switch (JudgeCommand(input)) {
      case CommandVerdict::kIgnore:
        return;
      case CommandVerdict::kClose:
        StartShutdown(player);
        return;
      case CommandVerdict::kRunScript:
        // A copy: a script loaded meanwhile may replace the command table.
        if (std::optional<std::string> script = CommandScript(player, input.name)) {
          PlayScript(player, *script, true, false);
        }
        return;
    }
  } catch (...) {
    player.ReportError("RIRERazo:", "AgentControl_Command", app::CurrentError());
  }
}

}  // namespace rirerazo
