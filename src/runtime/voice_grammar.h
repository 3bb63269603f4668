// The voice grammar of a command, parsed: words, [optional words], (alternative | words) and
// "..." for any words in between, letter case and punctuation ignored. The menu matches typed
// or recognised phrases against it; the speech recogniser's grammar is built from the same
// tree, so both accept the same phrases.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace rirerazo::runtime {

struct GrammarElement;
// One or more sequences, any of which may match.
using GrammarAlternatives = std::vector<std::vector<GrammarElement>>;

struct GrammarElement {
  enum class Kind { kWord, kOptional, kGroup, kAnyWords } kind = Kind::kWord;
  std::string word;                  // upper-cased, for kWord
  GrammarAlternatives alternatives;  // for kOptional and kGroup
};

// nullopt when the text is malformed (an unclosed bracket) or nests deeper than
// kMaxGrammarDepth (commands.h).
std::optional<GrammarAlternatives> ParseVoiceGrammar(std::string_view grammar);

// The words of a phrase, upper-cased, punctuation dropped.
std::vector<std::string> SplitPhrase(std::string_view phrase);

// True when the whole of `words` (as SplitPhrase gives them) matches.
bool GrammarMatchesWords(const GrammarAlternatives& grammar, const std::vector<std::string>& words);

}  // namespace rirerazo::runtime
