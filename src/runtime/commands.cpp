#include "runtime/commands.h"

#include "platform/runtime_error.h"
#include "runtime/character_data.h"

namespace rirerazo::runtime {

void CommandSet::Add(const std::string& name, const std::string& caption,
                     const std::string& voice) {
  if (name.empty()) throw RuntimeError(err::kInvalidProcedureCall, "A command needs a name.");
  if (Find(name)) {
    throw RuntimeError(err::kInvalidProcedureCall,
                       "A command named \"" + name + "\" already exists.");
  }
  items_.push_back({name, caption, voice});
}

const Command* CommandSet::Find(std::string_view name) const {
  for (const Command& command : items_) {
    if (EqualsIgnoreCase(command.name, name)) return &command;
  }
  return nullptr;
}

std::vector<const Command*> CommandSet::MatchPhrase(std::string_view phrase) const {
  std::vector<const Command*> matches;
  for (const Command& command : items_) {
    if (!command.voice.empty() && VoiceGrammarMatches(command.voice, phrase)) {
      matches.push_back(&command);
    }
  }
  return matches;
}

}  // namespace rirerazo::runtime
