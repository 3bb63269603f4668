// Builds the speech recogniser's grammar (JSGF text) from commands' voice grammars, so the
// recogniser listens for exactly the phrases the menu's matcher accepts.
//
// A word the recogniser's pronunciation dictionary lacks cannot be listened for: it is left
// out of the grammar (and out of the tree the heard phrase is matched against), and the
// grammar's missing words are listed once so the host can say so. A grammar left without any
// word is not offered. "..." listens for any number of the grammars' own words.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "runtime/voice_grammar.h"

namespace rirerazo::runtime {

// True when the dictionary can pronounce the word (given in lower case).
using WordLookup = std::function<bool(const std::string& word)>;

struct OfferedGrammar {
  // What is listened for, with the missing words left out; nullopt when not offered.
  std::optional<GrammarAlternatives> tree;
  std::vector<std::string> missing_words;  // lower case, each once, in grammar order
  bool malformed = false;                  // the text does not parse
};

struct JsgfGrammar {
  std::string text;                      // empty when no grammar is offered
  std::vector<OfferedGrammar> grammars;  // one per input grammar, same order
};

// `grammars` in the runtime's syntax; identical texts share one rule.
JsgfGrammar BuildJsgf(const std::vector<std::string>& grammars, const WordLookup& known);

// The indices of the offered grammars that accept the phrase, in input order.
std::vector<std::size_t> GrammarsAccepting(const JsgfGrammar& jsgf, const std::string& phrase);

}  // namespace rirerazo::runtime
