#include "runtime/voice_jsgf.h"

#include <algorithm>
#include <map>
#include <set>

namespace rirerazo::runtime {

namespace {

using Kind = GrammarElement::Kind;

// Characters that JSGF reserves, and anything outside printable ASCII, cannot be in a word of
// the recogniser's grammar whatever the dictionary says.
bool JsgfSafe(const std::string& word) {
  static constexpr std::string_view kReserved = ";=|*+<>()[]{}/\\\"#!";
  return std::all_of(word.begin(), word.end(), [](char c) {
    return c > ' ' && c < 127 && kReserved.find(c) == std::string_view::npos;
  });
}

std::string LowerAscii(std::string text) {
  for (char& c : text) {
    if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
  }
  return text;
}

// Removes the words the recogniser cannot listen for; brackets left empty go too.
class Pruner {
 public:
  Pruner(const WordLookup& known, std::vector<std::string>& missing, std::set<std::string>& vocab)
      : known_(known), missing_(missing), vocabulary_(vocab) {}

  GrammarAlternatives Prune(const GrammarAlternatives& alternatives) {
    GrammarAlternatives out;
    for (const std::vector<GrammarElement>& sequence : alternatives) {
      std::vector<GrammarElement> kept;
      for (const GrammarElement& element : sequence) {
        if (std::optional<GrammarElement> pruned = PruneElement(element)) kept.push_back(*pruned);
      }
      out.push_back(std::move(kept));
    }
    return out;
  }

 private:
  std::optional<GrammarElement> PruneElement(const GrammarElement& element) {
    if (element.kind == Kind::kAnyWords) return element;
    if (element.kind == Kind::kWord) {
      std::string word = LowerAscii(element.word);
      if (JsgfSafe(word) && known_(word)) {
        vocabulary_.insert(word);
        return element;
      }
      if (std::find(missing_.begin(), missing_.end(), word) == missing_.end()) {
        missing_.push_back(word);
      }
      return std::nullopt;
    }
    GrammarElement pruned = element;
    pruned.alternatives = Prune(element.alternatives);
    bool all_empty = std::all_of(pruned.alternatives.begin(), pruned.alternatives.end(),
                                 [](const auto& sequence) { return sequence.empty(); });
    if (all_empty) return std::nullopt;
    return pruned;
  }

  const WordLookup& known_;
  std::vector<std::string>& missing_;
  std::set<std::string>& vocabulary_;
};

bool HasWord(const GrammarAlternatives& alternatives) {
  for (const auto& sequence : alternatives) {
    for (const GrammarElement& element : sequence) {
      if (element.kind == Kind::kWord) return true;
      if (element.kind != Kind::kAnyWords && HasWord(element.alternatives)) return true;
    }
  }
  return false;
}

std::string ToJsgf(const GrammarAlternatives& alternatives);

std::string ElementToJsgf(const GrammarElement& element) {
  switch (element.kind) {
    case Kind::kWord:
      return LowerAscii(element.word);
    case Kind::kAnyWords:
      return "<any>*";
    case Kind::kOptional:
      return "[" + ToJsgf(element.alternatives) + "]";
    case Kind::kGroup: {
      // JSGF has no empty alternative: a group that may match nothing is optional.
      bool may_be_empty = std::any_of(element.alternatives.begin(), element.alternatives.end(),
                                      [](const auto& sequence) { return sequence.empty(); });
      std::string inner = ToJsgf(element.alternatives);
      return may_be_empty ? "[" + inner + "]" : "(" + inner + ")";
    }
  }
  return {};
}

// The non-empty sequences, separated by '|'.
std::string ToJsgf(const GrammarAlternatives& alternatives) {
  std::string text;
  for (const auto& sequence : alternatives) {
    if (sequence.empty()) continue;
    if (!text.empty()) text += " | ";
    std::string words;
    for (const GrammarElement& element : sequence) {
      if (!words.empty()) words += ' ';
      words += ElementToJsgf(element);
    }
    text += words;
  }
  return text;
}

}  // namespace

JsgfGrammar BuildJsgf(const std::vector<std::string>& grammars, const WordLookup& known) {
  JsgfGrammar result;
  std::set<std::string> vocabulary;
  std::map<std::string, std::size_t> rule_of_text;  // identical texts share a rule
  std::vector<std::string> rules;
  bool uses_any = false;
  for (const std::string& text : grammars) {
    OfferedGrammar offered;
    std::optional<GrammarAlternatives> parsed = ParseVoiceGrammar(text);
    offered.malformed = !parsed;
    if (parsed) {
      GrammarAlternatives pruned = Pruner(known, offered.missing_words, vocabulary).Prune(*parsed);
      std::string body = ToJsgf(pruned);
      if (HasWord(pruned) && !body.empty()) {
        offered.tree = std::move(pruned);
        uses_any = uses_any || body.find("<any>") != std::string::npos;
        if (rule_of_text.emplace(body, rules.size()).second) rules.push_back(body);
      }
    }
    result.grammars.push_back(std::move(offered));
  }
  if (rules.empty()) return result;
  std::string& out = result.text;
  out = "#JSGF V1.0;\ngrammar commands;\npublic <phrase> = ";
  for (std::size_t i = 0; i < rules.size(); ++i) {
    out += (i ? " | <g" : "<g") + std::to_string(i) + ">";
  }
  out += ";\n";
  for (std::size_t i = 0; i < rules.size(); ++i) {
    out += "<g" + std::to_string(i) + "> = " + rules[i] + ";\n";
  }
  if (uses_any) {
    std::string words;
    for (const std::string& word : vocabulary) words += (words.empty() ? "" : " | ") + word;
    out += "<any> = " + words + ";\n";
  }
  return result;
}

std::vector<std::size_t> GrammarsAccepting(const JsgfGrammar& jsgf, const std::string& phrase) {
  std::vector<std::string> words = SplitPhrase(phrase);
  std::vector<std::size_t> accepting;
  for (std::size_t i = 0; i < jsgf.grammars.size(); ++i) {
    const auto& tree = jsgf.grammars[i].tree;
    if (tree && GrammarMatchesWords(*tree, words)) accepting.push_back(i);
  }
  return accepting;
}

}  // namespace rirerazo::runtime
