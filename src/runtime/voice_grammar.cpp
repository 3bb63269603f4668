#include "runtime/voice_grammar.h"

#include "runtime/character_data.h"
#include "runtime/commands.h"

namespace rirerazo::runtime {

namespace {

using Element = GrammarElement;
using Alternatives = GrammarAlternatives;
using Positions = std::vector<bool>;  // positions in the phrase reachable so far

bool IsWordChar(char c) {
  return c != ' ' && c != '\t' && c != '[' && c != ']' && c != '(' && c != ')' && c != '|' &&
         c != ',' && c != '.' && c != '!' && c != '?' && c != ';' && c != ':' && c != '"';
}

std::vector<std::string> SplitWords(std::string_view phrase) {
  std::vector<std::string> words;
  std::size_t i = 0;
  while (i < phrase.size()) {
    while (i < phrase.size() && !IsWordChar(phrase[i])) ++i;
    std::size_t start = i;
    while (i < phrase.size() && IsWordChar(phrase[i])) ++i;
    if (i > start) words.push_back(UpperAscii(phrase.substr(start, i - start)));
  }
  return words;
}

// alternatives := sequence ('|' sequence)* ; sequence := element* ;
// element := word | '...' | '[' alternatives ']' | '(' alternatives ')'
class GrammarParser {
 public:
  explicit GrammarParser(std::string_view text) : text_(text) {}

  std::optional<Alternatives> ParseAll() {
    std::optional<Alternatives> result = ParseAlternatives(0);
    if (!result || pos_ != text_.size()) return std::nullopt;
    return result;
  }

 private:
  void SkipBlanks() {
    while (pos_ < text_.size() && (text_[pos_] == ' ' || text_[pos_] == '\t')) ++pos_;
  }
  bool At(char c) {
    SkipBlanks();
    return pos_ < text_.size() && text_[pos_] == c;
  }

  std::optional<Alternatives> ParseAlternatives(int depth) {
    if (depth > kMaxGrammarDepth) return std::nullopt;
    Alternatives alternatives(1);
    while (true) {
      SkipBlanks();
      if (pos_ >= text_.size() || At(']') || At(')')) return alternatives;
      if (At('|')) {
        ++pos_;
        alternatives.emplace_back();
        continue;
      }
      SkipPunctuation();
      if (pos_ >= text_.size()) return alternatives;
      bool starts_element = text_[pos_] == '[' || text_[pos_] == '(' || IsWordChar(text_[pos_]) ||
                            text_.substr(pos_, 3) == "...";
      if (!starts_element) continue;  // a closing bracket or '|', handled above
      std::optional<Element> element = ParseElement(depth);
      if (!element) return std::nullopt;
      alternatives.back().push_back(std::move(*element));
    }
  }

  std::optional<Element> ParseElement(int depth) {
    Element element;
    char open = text_[pos_];
    if (open == '[' || open == '(') {
      ++pos_;
      std::optional<Alternatives> inner = ParseAlternatives(depth + 1);
      if (!inner || !At(open == '[' ? ']' : ')')) return std::nullopt;
      ++pos_;
      element.kind = open == '[' ? Element::Kind::kOptional : Element::Kind::kGroup;
      element.alternatives = std::move(*inner);
      return element;
    }
    if (text_.substr(pos_, 3) == "...") {
      pos_ += 3;
      element.kind = Element::Kind::kAnyWords;
      return element;
    }
    std::size_t start = pos_;
    while (pos_ < text_.size() && IsWordChar(text_[pos_]) && text_.substr(pos_, 3) != "...") {
      ++pos_;
    }
    element.word = UpperAscii(text_.substr(start, pos_ - start));
    return element;
  }

  // Punctuation between words is not part of the grammar.
  void SkipPunctuation() {
    while (pos_ < text_.size() && !IsWordChar(text_[pos_]) && text_[pos_] != '[' &&
           text_[pos_] != ']' && text_[pos_] != '(' && text_[pos_] != ')' && text_[pos_] != '|' &&
           text_.substr(pos_, 3) != "...") {
      ++pos_;
    }
  }

  std::string_view text_;
  std::size_t pos_ = 0;
};

Positions MatchAlternatives(const Alternatives& alternatives, const Positions& start,
                            const std::vector<std::string>& words);

Positions MatchElement(const Element& element, const Positions& start,
                       const std::vector<std::string>& words) {
  Positions out(start.size(), false);
  switch (element.kind) {
    case Element::Kind::kWord:
      for (std::size_t p = 0; p + 1 < start.size(); ++p) {
        if (start[p] && words[p] == element.word) out[p + 1] = true;
      }
      return out;
    case Element::Kind::kAnyWords: {
      bool reached = false;
      for (std::size_t p = 0; p < start.size(); ++p) out[p] = reached = reached || start[p];
      return out;
    }
    case Element::Kind::kOptional:
      out = MatchAlternatives(element.alternatives, start, words);
      for (std::size_t p = 0; p < start.size(); ++p) out[p] = out[p] || start[p];
      return out;
    case Element::Kind::kGroup:
      return MatchAlternatives(element.alternatives, start, words);
  }
  return out;
}

Positions MatchAlternatives(const Alternatives& alternatives, const Positions& start,
                            const std::vector<std::string>& words) {
  Positions out(start.size(), false);
  for (const std::vector<Element>& sequence : alternatives) {
    Positions reach = start;
    for (const Element& element : sequence) reach = MatchElement(element, reach, words);
    for (std::size_t p = 0; p < out.size(); ++p) out[p] = out[p] || reach[p];
  }
  return out;
}

}  // namespace

std::optional<GrammarAlternatives> ParseVoiceGrammar(std::string_view grammar) {
  return GrammarParser(grammar).ParseAll();
}

std::vector<std::string> SplitPhrase(std::string_view phrase) {
  return SplitWords(phrase);
}

bool GrammarMatchesWords(const GrammarAlternatives& grammar,
                         const std::vector<std::string>& words) {
  if (words.empty() || words.size() > kMaxPhraseWords) return false;
  Positions start(words.size() + 1, false);
  start[0] = true;
  return MatchAlternatives(grammar, start, words).back();
}

bool VoiceGrammarMatches(std::string_view grammar, std::string_view phrase) {
  std::optional<Alternatives> parsed = ParseVoiceGrammar(grammar);
  return parsed && GrammarMatchesWords(*parsed, SplitPhrase(phrase));
}

}  // namespace rirerazo::runtime
