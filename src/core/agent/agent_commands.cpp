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
std::optional<std::string> CommandScript(const ScriptTables& tables, const std::string& name) {
  for (const CommandEntry& command : tables.commands) {
    if (command.name == name) return command.script;
  }
  return std::nullopt;
}

}  // namespace

void UpdateAgentCommands(platform::AgentControl& agent, const ScriptTables& tables,
                         const std::string& id) {
  platform::AgentCharacter* character = nullptr;
  Try([&] { character = &agent.Character(id); });
  if (character == nullptr) return;
  Try([&] { character->CommandsRemoveAll(); });
  const std::string caption =
      tables.menu_name.empty() ? std::string("RIRERazo - ") + id : tables.menu_name;
  Try([&] { character->SetCommandsCaption(caption); });
  Try([&] { character->SetCommandsVoice(id); });
  for (const CommandEntry& command : tables.commands) {
    Try([&] { character->CommandsAdd(command.name, command.caption, command.voice); });
  }
  Try([&] { character->CommandsAdd(kCloseCommandName, "Close", ""); });
}

void UpdateAgentCommandsAll(Player& player) {
  for (std::size_t i = 0; i < player.characters().loaded.size(); ++i) {
    UpdateAgentCommands(player.agent(), player.tables(), player.characters().loaded[i].id);
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
        if (std::optional<std::string> script = CommandScript(player.tables(), input.name)) {
          PlayScript(player, *script, ScriptLevel::kNested);
        }
        return;
    }
  } catch (...) {
    player.ReportError("RIRERazo:", "AgentControl_Command", app::CurrentError());
  }
}

}  // namespace rirerazo
