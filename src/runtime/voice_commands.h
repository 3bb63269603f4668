// Which character and command a recognised phrase selects. Every loaded character offers its
// commands' voice grammars and its group name (the command group's voice, its id); a
// recognition is turned into the input the Command event reports. Pure, so the rules can be
// tested without a recogniser.
#pragma once

#include <string>
#include <vector>

#include "platform/agent_control.h"
#include "runtime/speech_recognizer.h"

namespace rirerazo::runtime {

// What a grammar selects: a command of a character, or (command empty) its command group.
struct VoiceTarget {
  std::string character_id;
  std::string command;
};

struct VoiceGrammarSet {
  std::vector<std::string> grammars;  // handed to SpeechRecognizer::SetGrammars
  std::vector<VoiceTarget> targets;   // same order
};

struct VoiceDecision {
  std::string character_id;  // who raises Command
  platform::UserInput input;
};

// For a session of `listener`: the best phrase's first target (the listener's own commands
// before another character's) is the command; the next distinct command names, from the same
// phrase (same confidence: the phrase is ambiguous) and then from the next phrases, are the
// alternatives. A group name selects its character with an empty command name. Nothing
// heard: the listener reports an empty name with confidence -100.
VoiceDecision DecideVoiceInput(const VoiceGrammarSet& offered, const Recognition& heard,
                               const std::string& listener);

}  // namespace rirerazo::runtime
