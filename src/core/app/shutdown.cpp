#include "core/app/shutdown.h"

#include <limits>
#include <string>

#include "core/app/player.h"
#include "platform/runtime_error.h"

namespace rirerazo {
namespace {

// Runs one step; an error is reported and the caller goes on with the next step.
template <class Step>
void ReportingErrors(Player& player, Step&& step) {
  try {
    step();
  } catch (...) {
    player.ReportError("RIRERazo:", "tmrShutDown_Timer", app::CurrentError());
  }
}

void StopCharacter(Player& player, const std::string& id) {
  platform::AgentCharacter* character = nullptr;
  ReportingErrors(player, [&] { character = &player.agent().Character(id); });
  if (character == nullptr) return;
  ReportingErrors(player, [&] { character->StopAll(); });
  ReportingErrors(player, [&] {
    switch (DecideCharacterAtShutdown(character->Visible(), character->HasOtherClients())) {
      case CharacterAtShutdown::kHide:
        character->Hide();
        break;
      case CharacterAtShutdown::kShowAgain:
        character->Show();
        break;
      case CharacterAtShutdown::kLeave:
        break;
    }
  });
}

void StopCharacters(Player& player) {
  // By index: a report's Cancel may unload the form, but the table itself stays.
  for (std::size_t i = 0; i < player.characters().loaded.size(); ++i) {
    StopCharacter(player, player.characters().loaded[i].id);
  }
}

// Carries out a decision. The timer is enabled last, after the characters were told to go.
void Apply(Player& player, const ShutdownDecision& decision) {
  player.form().close_ticks = decision.close_ticks;
  if (decision.unload) {
    player.UnloadMainForm();
    return;
  }
  if (decision.stop_characters) StopCharacters(player);
  if (decision.enable_timer && !player.Unloaded()) {
    player.loop().StartTimer(kShutdownIntervalMs, [&player] { tmrShutDown_Timer(player); });
  }
}

}  // namespace

ShutdownDecision DecideShutdown(std::int16_t close_ticks, bool timer_enabled,
                                ShutdownTrigger trigger) {
  ShutdownDecision decision;
  decision.close_ticks = close_ticks == std::numeric_limits<std::int16_t>::max()
                             ? close_ticks
                             : static_cast<std::int16_t>(close_ticks + 1);
  decision.stop_characters = decision.close_ticks == 1;
  decision.unload = !decision.stop_characters;
  decision.enable_timer = trigger == ShutdownTrigger::kStart && !decision.unload && !timer_enabled;
  return decision;
}

CharacterAtShutdown DecideCharacterAtShutdown(bool visible, bool has_other_clients) {
  if (visible && !has_other_clients) return CharacterAtShutdown::kHide;
  if (!visible && has_other_clients) return CharacterAtShutdown::kShowAgain;
  return CharacterAtShutdown::kLeave;
}

void tmrShutDown_Timer(Player& player) {
  Apply(player, DecideShutdown(player.form().close_ticks, player.loop().TimerEnabled(),
                               ShutdownTrigger::kTimerTick));
}

void StartShutdown(Player& player) {
  Apply(player, DecideShutdown(player.form().close_ticks, player.loop().TimerEnabled(),
                               ShutdownTrigger::kStart));
}

void mnuCloseScript_Click(Player& player) {
  StartShutdown(player);
}

}  // namespace rirerazo
