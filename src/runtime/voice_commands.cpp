#include "runtime/voice_commands.h"

#include <algorithm>

#include "runtime/character_data.h"

namespace rirerazo::runtime {

namespace {

struct Candidate {
  const VoiceTarget* target;
  std::int32_t confidence;
};

// The targets of every phrase, best phrase first; within a phrase the listener's first.
std::vector<Candidate> Candidates(const VoiceGrammarSet& offered, const Recognition& heard,
                                  const std::string& listener) {
  std::vector<Candidate> candidates;
  for (const HeardPhrase& phrase : heard.phrases) {
    std::vector<const VoiceTarget*> targets;
    for (std::size_t index : phrase.grammars) {
      if (index < offered.targets.size()) targets.push_back(&offered.targets[index]);
    }
    std::stable_partition(targets.begin(), targets.end(), [&](const VoiceTarget* target) {
      return EqualsIgnoreCase(target->character_id, listener);
    });
    for (const VoiceTarget* target : targets) candidates.push_back({target, phrase.confidence});
  }
  return candidates;
}

}  // namespace

VoiceDecision DecideVoiceInput(const VoiceGrammarSet& offered, const Recognition& heard,
                               const std::string& listener) {
  VoiceDecision decision;
  decision.character_id = listener;
  platform::UserInput& input = decision.input;
  input.confidence = -100;
  if (!heard.phrases.empty()) {
    input.voice = heard.phrases[0].text;
    input.confidence = heard.phrases[0].confidence;
  }
  std::vector<Candidate> candidates = Candidates(offered, heard, listener);
  if (candidates.empty()) {
    input.character_id = listener;
    return decision;
  }
  decision.character_id = candidates[0].target->character_id;
  input.character_id = decision.character_id;
  input.name = candidates[0].target->command;
  int alternatives = 0;
  for (const Candidate& candidate : candidates) {
    const std::string& name = candidate.target->command;
    if (alternatives == 2) break;
    if (name.empty() || EqualsIgnoreCase(name, input.name) ||
        (alternatives == 1 && EqualsIgnoreCase(name, input.alt1_name))) {
      continue;
    }
    (alternatives == 0 ? input.alt1_name : input.alt2_name) = name;
    (alternatives == 0 ? input.alt1_confidence : input.alt2_confidence) = candidate.confidence;
    ++alternatives;
  }
  return decision;
}

}  // namespace rirerazo::runtime
