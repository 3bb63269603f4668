#include "runtime/rate_model.h"

#include <algorithm>

#include "runtime/language_tags.h"

namespace rirerazo::runtime {

namespace {

bool IsAsciiPunctuation(unsigned char c) {
  return (c >= 0x21 && c <= 0x2F) || (c >= 0x3A && c <= 0x40) || (c >= 0x5B && c <= 0x60) ||
         (c >= 0x7B && c <= 0x7E);
}

// Letters of a word: bytes that are neither punctuation nor UTF-8 continuation bytes.
int CountLetters(std::string_view word) {
  int letters = 0;
  for (unsigned char c : word) {
    if (!IsAsciiPunctuation(c) && (c & 0xC0) != 0x80) ++letters;
  }
  return letters;
}

std::int64_t PunctuationPauseMs(std::string_view word, std::int64_t base_ms) {
  switch (word.empty() ? '\0' : word.back()) {
    case ',':
    case ';':
    case ':':
      return base_ms * 2 / 5;
    case '.':
    case '!':
    case '?':
      return base_ms;
    default:
      return 0;
  }
}

class PlannedUtterance : public Utterance {
 public:
  explicit PlannedUtterance(std::vector<SpeechProgress> plan) : plan_(std::move(plan)) {}

  std::optional<std::int64_t> NextDueMs() const override {
    if (next_ >= plan_.size()) return std::nullopt;
    return plan_[next_].at_ms;
  }
  bool Poll(std::int64_t elapsed_ms, SpeechProgress& report) override {
    if (next_ >= plan_.size() || plan_[next_].at_ms > elapsed_ms) return false;
    report = plan_[next_++];
    return true;
  }
  void Cancel() override { next_ = plan_.size(); }

 private:
  std::vector<SpeechProgress> plan_;
  std::size_t next_ = 0;
};

std::int32_t ClampRate(std::int32_t words_per_minute) {
  return std::clamp(words_per_minute, kMinWordsPerMinute, kMaxWordsPerMinute);
}

std::size_t LastWordIndex(const SpeechText& text) {
  std::size_t last = text.items.size();
  for (std::size_t i = 0; i < text.items.size(); ++i) {
    if (text.items[i].kind == SpeechItemKind::kWord) last = i;
  }
  return last;
}

}  // namespace

std::vector<SpeechProgress> PlanSpeech(const SpeechText& text, std::int32_t words_per_minute) {
  const std::int32_t voice_rate = ClampRate(words_per_minute);
  std::int64_t base_ms = 60000 / voice_rate;
  std::int64_t cursor_ms = 0;
  bool emphasis = false;
  const std::size_t last_word = LastWordIndex(text);
  std::vector<SpeechProgress> plan;
  for (std::size_t i = 0; i < text.items.size(); ++i) {
    const SpeechItem& item = text.items[i];
    switch (item.kind) {
      case SpeechItemKind::kWord: {
        plan.push_back({SpeechProgress::Kind::kWord, cursor_ms, std::uint32_t(i), 0});
        std::string_view word = text.Word(item);
        std::int64_t letters = std::min(CountLetters(word), 24);
        std::int64_t word_ms = base_ms * (letters + 3) / 8;
        if (emphasis) word_ms = word_ms * 5 / 4;
        emphasis = false;
        cursor_ms += word_ms;
        if (i != last_word) cursor_ms += PunctuationPauseMs(word, base_ms);
        break;
      }
      case SpeechItemKind::kMark:
        plan.push_back({SpeechProgress::Kind::kMark, cursor_ms, std::uint32_t(i), item.value});
        break;
      case SpeechItemKind::kPause:
        cursor_ms += std::clamp(item.value, 0, kMaxPauseMs);
        break;
      case SpeechItemKind::kSpeed:
        base_ms = 60000 / ClampRate(item.value);
        break;
      case SpeechItemKind::kEmphasis:
        emphasis = true;
        break;
      case SpeechItemKind::kReset:
        base_ms = 60000 / voice_rate;
        emphasis = false;
        break;
      default:
        break;
    }
  }
  plan.push_back({SpeechProgress::Kind::kEnd, cursor_ms, 0, 0});
  return plan;
}

std::vector<SpeechProgress> PlanFixedLength(const SpeechText& text, std::int64_t length_ms) {
  std::vector<SpeechProgress> plan;
  for (std::size_t i = 0; i < text.items.size(); ++i) {
    if (text.items[i].kind == SpeechItemKind::kWord) {
      plan.push_back({SpeechProgress::Kind::kWord, 0, std::uint32_t(i), 0});
    }
  }
  for (std::size_t i = 0; i < text.items.size(); ++i) {
    if (text.items[i].kind == SpeechItemKind::kMark) {
      plan.push_back(
          {SpeechProgress::Kind::kMark, length_ms, std::uint32_t(i), text.items[i].value});
    }
  }
  plan.push_back({SpeechProgress::Kind::kEnd, length_ms, 0, 0});
  return plan;
}

std::unique_ptr<Utterance> MakePlannedUtterance(std::vector<SpeechProgress> plan) {
  return std::make_unique<PlannedUtterance>(std::move(plan));
}

RateModelEngine::RateModelEngine(RateModelOptions options) : options_(std::move(options)) {}

bool RateModelEngine::ServesLanguage(std::int32_t language_id) const {
  std::optional<std::string_view> tag = LanguageTag(language_id);
  if (!tag) return false;
  return std::find(options_.language_tags.begin(), options_.language_tags.end(), *tag) !=
         options_.language_tags.end();
}

std::unique_ptr<Utterance> RateModelEngine::Speak(const SpeechText& text,
                                                  const VoiceSettings& voice, bool /*silent*/) {
  std::int32_t rate =
      voice.words_per_minute > 0 ? voice.words_per_minute : options_.default_words_per_minute;
  return MakePlannedUtterance(PlanSpeech(text, rate));
}

std::unique_ptr<Utterance> SpeechEngine::SpeakRecording(const SpeechText& text,
                                                       const std::string& /*wav_path*/,
                                                       std::int64_t length_ms) {
  return MakePlannedUtterance(PlanFixedLength(text, length_ms));
}

}  // namespace rirerazo::runtime
