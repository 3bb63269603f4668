// Speech input: the grammars a recogniser listens for and what it heard.
#include "runtime/character_runtime.h"
#include "runtime/private/character.h"

namespace rirerazo::runtime {

VoiceGrammarSet CharacterRuntime::VoiceGrammars() const {
  VoiceGrammarSet set;
  for (const auto& character : characters_) {
    const CommandSet& commands = character->Commands();
    if (!commands.Voice().empty()) {
      set.grammars.push_back(commands.Voice());
      set.targets.push_back({character->Id(), ""});
    }
    for (const Command& command : commands.Items()) {
      if (command.voice.empty()) continue;
      set.grammars.push_back(command.voice);
      set.targets.push_back({character->Id(), command.name});
    }
  }
  return set;
}

// The listener's session ends even when the phrase selects another character (by its name
// or a command only that one offers), which then raises Command.
void CharacterRuntime::HearRecognized(const std::string& listener_id,
                                      const VoiceGrammarSet& offered, const Recognition& heard) {
  runtime::Character& listener = Get(listener_id);
  VoiceDecision decision = DecideVoiceInput(offered, heard, listener.Id());
  runtime::Character* target = Find(decision.character_id);
  listener.EndHearing();
  (target ? *target : listener).RaiseCommand(std::move(decision.input));
}

bool CharacterRuntime::Listening(const std::string& id) const {
  return Get(id).Listening();
}

}  // namespace rirerazo::runtime
