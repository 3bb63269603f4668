#include "desktop/speech/private/ssml_builder.h"

#include <algorithm>

#include "runtime/rate_model.h"

namespace rirerazo::desktop {

namespace {

using runtime::SpeechItem;
using runtime::SpeechItemKind;

constexpr std::int32_t kMaxVolume = 65535;

// Unicode characters in UTF-8 text: bytes that are not continuation bytes.
std::uint32_t CountChars(std::string_view text) {
  return std::uint32_t(std::count_if(text.begin(), text.end(), [](char c) {
    return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
  }));
}

// The prosody in force, as percentages of the voice's own values.
struct Prosody {
  std::int32_t rate_percent = 100;
  std::int32_t pitch_percent = 100;
  std::int32_t volume_percent = 100;
  std::int32_t range_percent = 100;
  bool Neutral() const {
    return rate_percent == 100 && pitch_percent == 100 && volume_percent == 100 &&
           range_percent == 100;
  }
};

class Builder {
 public:
  Builder(const runtime::SpeechText& text, const SsmlVoice& voice) : text_(text), voice_(voice) {}

  SsmlText Build() {
    Append("<speak>");
    for (std::size_t i = 0; i < text_.items.size(); ++i) Item(std::uint32_t(i), text_.items[i]);
    Append(EscapeXml(std::string_view(text_.spoken).substr(spoken_cursor_)));
    CloseProsody();
    Append("</speak>");
    return std::move(out_);
  }

 private:
  void Append(std::string_view markup) {
    out_.markup += markup;
    chars_ += CountChars(markup);
  }

  void Item(std::uint32_t index, const SpeechItem& item) {
    switch (item.kind) {
      case SpeechItemKind::kWord:
        return Word(index, item);
      case SpeechItemKind::kMark:
        return Append("<mark name=\"" + std::to_string(item.value) + "\"/>");
      case SpeechItemKind::kPause:
        return Append("<break time=\"" +
                      std::to_string(std::clamp(item.value, 0, runtime::kMaxPauseMs)) + "ms\"/>");
      case SpeechItemKind::kSpeed:
        prosody_.rate_percent = Percent(
            std::clamp(item.value, runtime::kMinWordsPerMinute, runtime::kMaxWordsPerMinute),
            voice_.words_per_minute);
        return OpenProsody();
      case SpeechItemKind::kPitch:
        prosody_.pitch_percent = Percent(std::max(item.value, 1), voice_.pitch_hz);
        return OpenProsody();
      case SpeechItemKind::kVolume:
        prosody_.volume_percent = Percent(std::clamp(item.value, 0, kMaxVolume), kMaxVolume);
        return OpenProsody();
      case SpeechItemKind::kEmphasis:
        emphasis_ = true;
        return;
      case SpeechItemKind::kVoiceCharacter:
        return VoiceCharacter(item.value);
      case SpeechItemKind::kReset:
        prosody_ = {};
        emphasis_ = false;
        return OpenProsody();
    }
  }

  // The gap before the word (blanks, text between words) goes out as it was spoken.
  void Word(std::uint32_t index, const SpeechItem& item) {
    if (item.spoken_begin > spoken_cursor_) {
      Append(EscapeXml(std::string_view(text_.spoken)
                           .substr(spoken_cursor_, item.spoken_begin - spoken_cursor_)));
    }
    if (emphasis_) Append("<emphasis>");
    out_.words.push_back({index, chars_});
    Append(EscapeXml(text_.Word(item)));
    if (emphasis_) Append("</emphasis>");
    emphasis_ = false;
    spoken_cursor_ = item.spoken_begin + item.spoken_length;
  }

  void VoiceCharacter(std::int32_t value) {
    const auto character = runtime::VoiceCharacter(value);
    prosody_.range_percent = character == runtime::VoiceCharacter::kMonotone ? 0 : 100;
    prosody_.volume_percent = character == runtime::VoiceCharacter::kWhisper ? 40 : 100;
    OpenProsody();
  }

  static std::int32_t Percent(std::int32_t value, std::int32_t base) {
    return std::int32_t(
        std::clamp<std::int64_t>(std::int64_t(value) * 100 / std::max(base, 1), 0, 1000));
  }

  // One prosody element at a time, carrying every value in force: changes replace it rather
  // than nest, so any number of tags stays within the synthesiser's nesting limit.
  void OpenProsody() {
    CloseProsody();
    if (prosody_.Neutral()) return;
    Append("<prosody rate=\"" + std::to_string(prosody_.rate_percent) + "%\" pitch=\"" +
           std::to_string(prosody_.pitch_percent) + "%\" volume=\"" +
           std::to_string(prosody_.volume_percent) + "%\" range=\"" +
           std::to_string(prosody_.range_percent) + "%\">");
    prosody_open_ = true;
  }
  void CloseProsody() {
    if (prosody_open_) Append("</prosody>");
    prosody_open_ = false;
  }

  const runtime::SpeechText& text_;
  const SsmlVoice& voice_;
  SsmlText out_;
  std::uint32_t chars_ = 0;
  std::size_t spoken_cursor_ = 0;
  Prosody prosody_;
  bool prosody_open_ = false;
  bool emphasis_ = false;
};

}  // namespace

SsmlText BuildSsml(const runtime::SpeechText& text, const SsmlVoice& voice) {
  return Builder(text, voice).Build();
}

std::string EscapeXml(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (char c : text) {
    switch (c) {
      case '&':
        out += "&amp;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      case '"':
        out += "&quot;";
        break;
      case '\'':
        out += "&apos;";
        break;
      default:
        // Control characters are not allowed in the markup; they separate words like blanks.
        out +=
            (static_cast<unsigned char>(c) < 0x20 && c != '\t' && c != '\n' && c != '\r') ? ' ' : c;
    }
  }
  return out;
}

}  // namespace rirerazo::desktop
