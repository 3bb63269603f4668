#include "core/agent/agent_commands.h"

#include "core/app/player.h"
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

}  // namespace rirerazo
