#include "voice/pocketsphinx_recognizer.h"

#include <pocketsphinx.h>
#include <sphinxbase/err.h>

#include <sys/stat.h>
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <ostream>

namespace rirerazo::voice {

namespace {

// The phones of the US English model; each becomes a one-phone word of the phone loop.
constexpr std::array<const char*, 39> kPhones = {
    "AA", "AE", "AH", "AO", "AW", "AY", "B",  "CH", "D", "DH", "EH", "ER", "EY",
    "F",  "G",  "HH", "IH", "IY", "JH", "K",  "L",  "M", "N",  "NG", "OW", "OY",
    "P",  "R",  "S",  "SH", "T",  "TH", "UH", "UW", "V", "W",  "Y",  "Z",  "ZH"};

// Calibration of the confidence scale (docs/voice-commands.md): commands spoken as written
// scored a gap of -3 to +18 per frame, sentences outside the grammars -7 and below. A gap of
// -5 maps to -40, where the player stops listening.
constexpr double kConfidencePerGap = 6.0;
constexpr double kConfidenceAtZeroGap = -10.0;
// A sentence that begins like a command scores a good gap: the grammar path takes the
// command's words and passes the rest of the speech off as silence. The decoder keeps only
// the frames its voice detector took for speech (and a little before and after), so 30
// commands left 0.23 to 0.35 s of silence on their path (one whose optional word was passed
// off, 0.55 s), 12 such sentences 0.6 to 1.8 s. Silence beyond the allowance costs
// confidence frame by frame (100 frames a second).
constexpr std::int32_t kSilenceAllowanceFrames = 55;
constexpr std::int32_t kConfidencePerSilentFrame = 3;
// Alternatives are read from at most this many paths of the grammar decoder's lattice.
constexpr int kMaxLatticePaths = 40;

// Frames the decoder's best path spent in silence or noise rather than in words.
std::int32_t SilentFrames(ps_decoder_t* decoder) {
  std::int32_t frames = 0;
  for (ps_seg_t* seg = ps_seg_iter(decoder); seg; seg = ps_seg_next(seg)) {
    const char* word = ps_seg_word(seg);
    if (word == nullptr || (word[0] != '<' && word[0] != '[' && word[0] != '(')) continue;
    int start = 0;
    int end = 0;
    ps_seg_frames(seg, &start, &end);
    frames += std::max(0, end - start + 1);
  }
  return frames;
}

bool FileExists(const std::string& path) {
  struct stat info {};
  return ::stat(path.c_str(), &info) == 0;
}

// The phone loop: narrower beams than the grammar decoder, since only its score is used.
cmd_ln_t* LoopConfig(const RecognizerModel& model) {
  return cmd_ln_init(nullptr, ps_args(), TRUE, "-hmm", model.acoustic_model_dir.c_str(), "-dict",
                     "/dev/null", "-logfn", "/dev/null", "-beam", "1e-20", "-pbeam", "1e-20",
                     "-wbeam", "1e-15", "-maxhmmpf", "1500", "-vad_postspeech", "30", nullptr);
}

cmd_ln_t* GrammarConfig(const RecognizerModel& model) {
  return cmd_ln_init(nullptr, ps_args(), TRUE, "-hmm", model.acoustic_model_dir.c_str(), "-dict",
                     model.dictionary_path.c_str(), "-logfn", "/dev/null", "-bestpath", "yes",
                     "-vad_postspeech", "30", nullptr);
}

std::string PhoneLoopJsgf() {
  std::string words;
  for (const char* phone : kPhones) {
    if (!words.empty()) words += " | ";
    words += std::string("ph_") + phone;
  }
  return "#JSGF V1.0;\ngrammar phones;\npublic <loop> = (" + words + ")+;\n";
}

}  // namespace

RecognizerModel InstalledModel() {
  std::string root = "/usr/share/pocketsphinx/model/en-us";
  if (const char* custom = std::getenv("RIRERAZO_VOICE_MODEL"); custom && *custom) root = custom;
  return {root + "/en-us", root + "/cmudict-en-us.dict"};
}

std::int32_t ConfidenceFromGap(double gap_per_frame) {
  double value = kConfidencePerGap * gap_per_frame + kConfidenceAtZeroGap;
  if (!(value > -100.0)) return -100;  // NaN too
  if (value > 100.0) return 100;
  return std::int32_t(std::lround(value));
}

std::int32_t ConfidenceFromScores(double gap_per_frame, std::int32_t silent_frames) {
  const std::int32_t excess = std::max(0, silent_frames - kSilenceAllowanceFrames);
  const std::int64_t value = std::int64_t(ConfidenceFromGap(gap_per_frame)) -
                             std::int64_t(kConfidencePerSilentFrame) * excess;
  return std::int32_t(std::max<std::int64_t>(-100, value));
}

struct PocketsphinxRecognizer::Decoders {
  cmd_ln_t* grammar_config = nullptr;
  cmd_ln_t* loop_config = nullptr;
  ps_decoder_t* grammar = nullptr;
  ps_decoder_t* loop = nullptr;
  ~Decoders() {
    if (grammar) ps_free(grammar);
    if (loop) ps_free(loop);
    if (grammar_config) cmd_ln_free_r(grammar_config);
    if (loop_config) cmd_ln_free_r(loop_config);
  }
};

std::unique_ptr<PocketsphinxRecognizer> PocketsphinxRecognizer::Create(const RecognizerModel& model,
                                                                       std::ostream& diagnostics,
                                                                       std::string* error) {
  auto fail = [&](const std::string& why) {
    if (error) *error = why;
    return nullptr;
  };
  if (!FileExists(model.acoustic_model_dir + "/mdef")) {
    return fail("no acoustic model in " + model.acoustic_model_dir);
  }
  if (!FileExists(model.dictionary_path)) return fail("no dictionary " + model.dictionary_path);
  err_set_logfp(nullptr);  // the library's progress messages are of no use to a user
  auto decoders = std::make_unique<Decoders>();
  decoders->grammar_config = GrammarConfig(model);
  decoders->loop_config = LoopConfig(model);
  if (!decoders->grammar_config || !decoders->loop_config) return fail("bad decoder settings");
  decoders->grammar = ps_init(decoders->grammar_config);
  decoders->loop = ps_init(decoders->loop_config);
  if (!decoders->grammar || !decoders->loop) return fail("the speech model could not be loaded");
  for (const char* phone : kPhones) {
    ps_add_word(decoders->loop, (std::string("ph_") + phone).c_str(), phone, FALSE);
  }
  if (ps_set_jsgf_string(decoders->loop, "phones", PhoneLoopJsgf().c_str()) != 0 ||
      ps_set_search(decoders->loop, "phones") != 0) {
    return fail("the phone loop could not be built");
  }
  return std::unique_ptr<PocketsphinxRecognizer>(
      new PocketsphinxRecognizer(std::move(decoders), diagnostics));
}

PocketsphinxRecognizer::PocketsphinxRecognizer(std::unique_ptr<Decoders> decoders,
                                               std::ostream& diagnostics)
    : decoders_(std::move(decoders)), diagnostics_(diagnostics) {}

PocketsphinxRecognizer::~PocketsphinxRecognizer() {
  if (in_utterance_) {
    ps_end_utt(decoders_->grammar);
    ps_end_utt(decoders_->loop);
  }
}

bool PocketsphinxRecognizer::SetGrammars(const std::vector<std::string>& grammars) {
  if (in_utterance_) EndUtterance();
  ps_decoder_t* decoder = decoders_->grammar;
  jsgf_ = runtime::BuildJsgf(grammars, [decoder](const std::string& word) {
    char* pronunciation = ps_lookup_word(decoder, word.c_str());
    std::free(pronunciation);
    return pronunciation != nullptr;
  });
  ReportMissingWords(grammars);
  offered_ = !jsgf_.text.empty() &&
             ps_set_jsgf_string(decoder, "commands", jsgf_.text.c_str()) == 0 &&
             ps_set_search(decoder, "commands") == 0;
  return offered_;
}

void PocketsphinxRecognizer::ReportMissingWords(const std::vector<std::string>& grammars) {
  for (std::size_t i = 0; i < grammars.size(); ++i) {
    const runtime::OfferedGrammar& offered = jsgf_.grammars[i];
    if (offered.missing_words.empty() || !reported_.insert(grammars[i]).second) continue;
    diagnostics_ << "rirerazo: the voice grammar \"" << grammars[i] << "\" has words the "
                 << "pronunciation dictionary lacks (";
    for (std::size_t w = 0; w < offered.missing_words.size(); ++w) {
      diagnostics_ << (w ? ", " : "") << offered.missing_words[w];
    }
    diagnostics_ << (offered.tree ? "); they are left out.\n" : "); it cannot be spoken.\n");
  }
}

void PocketsphinxRecognizer::StartUtterance() {
  if (!offered_ || in_utterance_) return;
  ps_start_utt(decoders_->grammar);
  ps_start_utt(decoders_->loop);
  in_utterance_ = true;
  samples_fed_ = 0;
}

void PocketsphinxRecognizer::Feed(const std::int16_t* samples, std::size_t count) {
  if (!in_utterance_ || count == 0) return;
  ps_process_raw(decoders_->grammar, samples, count, FALSE, FALSE);
  ps_process_raw(decoders_->loop, samples, count, FALSE, FALSE);
  samples_fed_ += std::int64_t(count);
}

bool PocketsphinxRecognizer::InSpeech() const {
  return in_utterance_ && ps_get_in_speech(decoders_->grammar) != 0;
}

runtime::Recognition PocketsphinxRecognizer::EndUtterance() {
  runtime::Recognition heard;
  if (!in_utterance_) return heard;
  in_utterance_ = false;
  heard.speech_ms = samples_fed_ * 1000 / runtime::kRecognizerSampleRateHz;
  ps_end_utt(decoders_->grammar);
  ps_end_utt(decoders_->loop);
  std::int32_t grammar_score = 0;
  std::int32_t loop_score = 0;
  const char* hypothesis = ps_get_hyp(decoders_->grammar, &grammar_score);
  ps_get_hyp(decoders_->loop, &loop_score);
  std::int32_t frames = std::max(1, ps_get_n_frames(decoders_->grammar));
  if (!hypothesis || !*hypothesis) return heard;
  // The hypothesis belongs to the decoder; the segment walk below may replace it.
  const std::string text = hypothesis;
  const double gap = double(grammar_score - loop_score) / frames;
  const std::int32_t silent = SilentFrames(decoders_->grammar);
  heard.phrases.push_back(
      {text, ConfidenceFromScores(gap, silent), runtime::GrammarsAccepting(jsgf_, text)});
  AddAlternatives(heard, gap, silent, frames);
  return heard;
}

// The lattice's next-best paths with other words, scored below the best by how much worse
// their paths are (with the best path's silence).
void PocketsphinxRecognizer::AddAlternatives(runtime::Recognition& heard, double best_gap,
                                             std::int32_t silent_frames, std::int32_t frames) {
  const runtime::HeardPhrase best = heard.phrases.front();
  std::optional<std::int32_t> reference;
  ps_nbest_t* path = ps_nbest(decoders_->grammar);
  for (int n = 0; path && n < kMaxLatticePaths && heard.phrases.size() < 3; ++n) {
    std::int32_t score = 0;
    // The hypothesis belongs to the path, which the step to the next path frees: copy it.
    const char* hyp = ps_nbest_hyp(path, &score);
    const std::string text = hyp ? hyp : "";
    path = ps_nbest_next(path);
    if (text.empty()) continue;
    if (!reference) reference = score;
    if (text == best.text) continue;
    bool known =
        std::any_of(heard.phrases.begin(), heard.phrases.end(),
                    [&](const runtime::HeardPhrase& phrase) { return phrase.text == text; });
    std::vector<std::size_t> grammars = runtime::GrammarsAccepting(jsgf_, text);
    if (known || grammars.empty()) continue;
    double behind = std::max(0.0, double(*reference - score) / frames);
    heard.phrases.push_back(
        {text, std::min(best.confidence, ConfidenceFromScores(best_gap - behind, silent_frames)),
         std::move(grammars)});
  }
  if (path) ps_nbest_free(path);
}

}  // namespace rirerazo::voice
