#include "desktop/speech/espeak_engine.h"

#include <espeak-ng/speak_lib.h>

#include <algorithm>
#include <cassert>
#include <cctype>
#include <charconv>
#include <cstring>
#include <fstream>
#include <iterator>
#include <ostream>

#include "desktop/speech/private/espeak_voices.h"
#include "desktop/speech/private/mouth_shapes.h"
#include "desktop/speech/private/ssml_builder.h"
#include "desktop/speech/private/timed_utterance.h"
#include "runtime/acs/acs_file.h"
#include "runtime/rate_model.h"

namespace rirerazo::desktop {

namespace {

using runtime::SpeechItemKind;
using runtime::SpeechProgress;

// What the synthesiser reported while it spoke one text.
struct SynthEvent {
  espeak_EVENT_TYPE type = espeakEVENT_LIST_TERMINATED;
  std::int64_t at_ms = 0;
  int text_position = 0;  // words: 1-based character position in the markup
  std::string mark;       // marks: the name, copied (the synthesiser's pointer dies)
  std::uint8_t mouth = 0;
};

struct Collector {
  std::vector<std::int16_t> samples;
  std::vector<SynthEvent> events;
};

// The synthesis under way; set only around espeak_Synth, on the engine's thread.
Collector* g_collector = nullptr;

void Collect(const espeak_EVENT& event, Collector& collector) {
  SynthEvent out{event.type, event.audio_position, event.text_position, {}, 0};
  switch (event.type) {
    case espeakEVENT_WORD:
      break;
    case espeakEVENT_MARK:
      if (event.id.name) out.mark = event.id.name;
      break;
    case espeakEVENT_PHONEME:
      out.mouth = MouthShapeForPhoneme(
          std::string_view(event.id.string, strnlen(event.id.string, sizeof event.id.string)));
      break;
    default:
      return;  // sentences, clause ends, the sample rate and the end add nothing
  }
  collector.events.push_back(std::move(out));
}

int OnSynth(short* samples, int count, espeak_EVENT* events) {
  if (!g_collector) return 1;
  if (samples && count > 0)
    g_collector->samples.insert(g_collector->samples.end(), samples, samples + count);
  for (; events && events->type != espeakEVENT_LIST_TERMINATED; ++events) {
    Collect(*events, *g_collector);
  }
  return 0;
}

// The synthesiser is initialised once per process; later engines reuse it.
int InitialiseOnce() {
  static const int rate_hz = [] {
    int rate = espeak_Initialize(AUDIO_OUTPUT_SYNCHRONOUS, 100, nullptr,
                                 espeakINITIALIZE_PHONEME_EVENTS | espeakINITIALIZE_DONT_EXIT);
    if (rate > 0) espeak_SetSynthCallback(OnSynth);
    return rate > 0 ? rate : 0;
  }();
  return rate_hz;
}

std::string Lower(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = char(std::tolower(static_cast<unsigned char>(c)));
  return out;
}

std::set<std::string> InstalledVoices() {
  std::set<std::string> names;
  const espeak_VOICE** voices = espeak_ListVoices(nullptr);
  for (int i = 0; voices && voices[i]; ++i) {
    if (!voices[i]->identifier) continue;
    std::string_view id = voices[i]->identifier;
    names.insert(Lower(id.substr(id.rfind('/') + 1)));
  }
  return names;
}

// Turns the synthesiser's events into the runtime's reports, in item order: a word or
// bookmark the synthesiser passed over without a report is reported with the next one it
// does report, and whatever is left at the end of the sound.
class ReportBuilder {
 public:
  ReportBuilder(const runtime::SpeechText& text, const SsmlText& ssml) : text_(text), ssml_(ssml) {}

  std::vector<SpeechProgress> Build(const std::vector<SynthEvent>& events, std::int64_t total_ms) {
    for (const SynthEvent& event : events) {
      if (event.type == espeakEVENT_WORD) Word(event);
      if (event.type == espeakEVENT_MARK) Mark(event);
      if (event.type == espeakEVENT_PHONEME) Mouth(event);
    }
    ReportThrough(text_.items.size(), total_ms);
    Add({SpeechProgress::Kind::kEnd, std::max(total_ms, last_ms_), 0, 0, 0});
    return std::move(reports_);
  }

 private:
  void Word(const SynthEvent& event) {
    // The word that starts last at or before the reported position.
    const auto position = std::uint32_t(std::max(event.text_position - 1, 0));
    auto after = std::upper_bound(ssml_.words.begin(), ssml_.words.end(), position,
                                  [](std::uint32_t at, const SsmlText::WordAnchor& anchor) {
                                    return at < anchor.char_offset;
                                  });
    if (after != ssml_.words.begin()) ReportThrough(std::prev(after)->item + 1, event.at_ms);
  }

  void Mark(const SynthEvent& event) {
    std::int32_t value = 0;
    const char* end = event.mark.data() + event.mark.size();
    if (std::from_chars(event.mark.data(), end, value).ptr != end) return;
    for (std::size_t i = next_item_; i < text_.items.size(); ++i) {
      const runtime::SpeechItem& item = text_.items[i];
      if (item.kind == SpeechItemKind::kMark && item.value == value) {
        return ReportThrough(i + 1, event.at_ms);
      }
    }
  }

  void Mouth(const SynthEvent& event) {
    if (event.mouth == last_mouth_) return;
    last_mouth_ = event.mouth;
    Add({SpeechProgress::Kind::kMouth, event.at_ms, 0, 0, event.mouth});
  }

  // Reports the words and bookmarks before item `end` not yet reported.
  void ReportThrough(std::size_t end, std::int64_t at_ms) {
    for (; next_item_ < end && next_item_ < text_.items.size(); ++next_item_) {
      const runtime::SpeechItem& item = text_.items[next_item_];
      const auto index = std::uint32_t(next_item_);
      if (item.kind == SpeechItemKind::kWord) {
        Add({SpeechProgress::Kind::kWord, at_ms, index, 0, 0});
      } else if (item.kind == SpeechItemKind::kMark) {
        Add({SpeechProgress::Kind::kMark, at_ms, index, item.value, 0});
      }
    }
  }

  // Reports never go back in time.
  void Add(SpeechProgress report) {
    report.at_ms = std::max(report.at_ms, last_ms_);
    last_ms_ = report.at_ms;
    reports_.push_back(report);
  }

  const runtime::SpeechText& text_;
  const SsmlText& ssml_;
  std::vector<SpeechProgress> reports_;
  std::size_t next_item_ = 0;
  std::int64_t last_ms_ = 0;
  int last_mouth_ = -1;
};

bool NeedsSynthesis(const runtime::SpeechText& text) {
  return std::any_of(text.items.begin(), text.items.end(), [](const runtime::SpeechItem& item) {
    return item.kind == SpeechItemKind::kWord || item.kind == SpeechItemKind::kPause;
  });
}

}  // namespace

EspeakEngine::EspeakEngine(AudioOutput& audio) : audio_(audio) {
  sample_rate_hz_ = InitialiseOnce();
  if (Ready()) installed_ = InstalledVoices();
}

bool EspeakEngine::ServesLanguage(std::int32_t language_id) const {
  return LanguageVoice(language_id, installed_).has_value();
}

// A classic engine's mode id or a voice of the synthesiser named as the mode id wins over the
// language id, as a mode id chooses the voice outright.
std::string EspeakEngine::VoiceFor(const runtime::VoiceSettings& voice) const {
  std::string named = voice.mode_id;
  if (std::optional<std::string> classic = ClassicModeVoice(voice.mode_id)) named = *classic;
  const std::string base = Lower(named.substr(0, named.find('+')));
  if (!base.empty() && installed_.count(base)) return named;
  return LanguageVoice(voice.language_id, installed_).value_or("");
}

std::unique_ptr<runtime::Utterance> EspeakEngine::Speak(const runtime::SpeechText& text,
                                                        const runtime::VoiceSettings& voice,
                                                        bool silent) {
  const std::string voice_name = VoiceFor(voice);
  if (!Ready() || voice_name.empty()) {
    // Without a voice the text is still paced (and its bookmarks reached), in silence.
    std::int32_t rate = voice.words_per_minute > 0 ? voice.words_per_minute : kEspeakDefaultRate;
    return std::make_unique<TimedUtterance>(runtime::PlanSpeech(text, rate), nullptr);
  }
  const SsmlVoice ssml_voice{EspeakRate(voice.words_per_minute),
                             voice.pitch > 0 ? voice.pitch : kReferencePitchHz};
  const SsmlText ssml = BuildSsml(text, ssml_voice);
  Collector collector;
  if (NeedsSynthesis(text)) {
    espeak_SetVoiceByName(voice_name.c_str());
    espeak_SetParameter(espeakRATE, ssml_voice.words_per_minute, 0);
    espeak_SetParameter(espeakPITCH, EspeakPitch(voice.pitch), 0);
    g_collector = &collector;
    espeak_Synth(ssml.markup.c_str(), ssml.markup.size() + 1, 0, POS_CHARACTER, 0,
                 espeakCHARS_UTF8 | espeakSSML, nullptr, nullptr);
    g_collector = nullptr;
  }
  const std::int64_t total_ms = std::int64_t(collector.samples.size()) * 1000 / sample_rate_hz_;
  std::vector<SpeechProgress> reports = ReportBuilder(text, ssml).Build(collector.events, total_ms);
  std::unique_ptr<AudioStream> stream;
  if (!silent && !collector.samples.empty()) {
    stream = audio_.Play(std::move(collector.samples), PcmFormat{sample_rate_hz_, 1});
  }
  return std::make_unique<TimedUtterance>(std::move(reports), std::move(stream));
}

std::unique_ptr<runtime::Utterance> EspeakEngine::SpeakRecording(const runtime::SpeechText& text,
                                                                 const std::string& wav_path,
                                                                 std::int64_t length_ms) {
  std::unique_ptr<AudioStream> stream;
  try {
    std::ifstream file(wav_path, std::ios::binary);
    const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(file), {}};
    acs::PcmSound sound = acs::DecodeWav(bytes, wav_path);
    stream = audio_.Play(std::move(sound.samples),
                         PcmFormat{int(sound.sample_rate_hz), int(sound.channels)});
  } catch (const std::exception&) {
    // A recording that cannot be decoded is still waited for, in silence.
  }
  return std::make_unique<TimedUtterance>(runtime::PlanFixedLength(text, length_ms),
                                          std::move(stream));
}

std::unique_ptr<runtime::SpeechEngine> MakeDesktopSpeechEngine(AudioOutput& audio,
                                                               std::ostream& err) {
  auto engine = std::make_unique<EspeakEngine>(audio);
  if (engine->Ready()) return engine;
  err << "rirerazo: the espeak-ng voices could not be loaded; speaking in silence\n";
  return std::make_unique<runtime::RateModelEngine>();
}

}  // namespace rirerazo::desktop
