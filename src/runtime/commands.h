// The commands of one character: what its popup menu offers and what its voice grammar
// understands. A voice grammar is words with [optional words], (alternative | words) and
// "..." for any words in between, letter case ignored: "[please] (open | show) [the] file".
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace rirerazo::runtime {

struct Command {
  std::string name;
  std::string caption;
  std::string voice;  // grammar; empty: the command cannot be spoken
};

class CommandSet {
 public:
  void RemoveAll() { items_.clear(); }
  void SetCaption(const std::string& caption) { caption_ = caption; }
  void SetVoice(const std::string& voice) { voice_ = voice; }
  const std::string& Caption() const { return caption_; }
  const std::string& Voice() const { return voice_; }

  // Errors (RuntimeError 5): an empty name, or a name already there (letter case ignored).
  void Add(const std::string& name, const std::string& caption, const std::string& voice);
  int Count() const { return int(items_.size()); }
  const Command* Find(std::string_view name) const;
  const std::vector<Command>& Items() const { return items_; }

  // The commands whose grammar accepts the phrase, in menu order.
  std::vector<const Command*> MatchPhrase(std::string_view phrase) const;

 private:
  std::string caption_;
  std::string voice_;
  std::vector<Command> items_;
};

// Nesting deeper than this, or phrases longer than kMaxPhraseWords, never match.
inline constexpr int kMaxGrammarDepth = 16;
inline constexpr std::size_t kMaxPhraseWords = 256;

bool VoiceGrammarMatches(std::string_view grammar, std::string_view phrase);

}  // namespace rirerazo::runtime
