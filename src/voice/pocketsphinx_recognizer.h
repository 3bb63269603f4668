// The speech recogniser: pocketsphinx with the US English model from the system's packages.
//
// Two decoders hear the same audio. One follows the commands' grammar; the other is a free
// loop of phones, the best any speech can score with this acoustic model. Per frame of the
// utterance, the gap between the grammar's best path and the phone loop says how well the
// audio fits a command: close to the loop (or above it) is a good fit, far below is speech
// the grammar does not describe. Speech the grammar path passes off as silence (a sentence
// that only begins like a command) lowers it further. ConfidenceFromScores maps both to
// -100..100; the mapping was
// calibrated on synthesised command phrases and out-of-grammar sentences
// (docs/voice-commands.md).
#pragma once

#include <cstdint>
#include <iosfwd>
#include <memory>
#include <set>
#include <string>

#include "runtime/speech_recognizer.h"
#include "runtime/voice_jsgf.h"

namespace rirerazo::voice {

struct RecognizerModel {
  std::string acoustic_model_dir;
  std::string dictionary_path;
};

// The model the packages install, under $RIRERAZO_VOICE_MODEL when that is set.
RecognizerModel InstalledModel();

// Per-frame score gap (grammar path minus phone loop, in the decoder's log units) to the
// -100..100 scale; monotonic and clamped.
std::int32_t ConfidenceFromGap(double gap_per_frame);
// The confidence of a grammar path: its gap, less a cost for each frame of silence on the
// path beyond what a spoken command leaves (speech outside the grammar that the path passes
// off as silence). Monotonic in both, clamped.
std::int32_t ConfidenceFromScores(double gap_per_frame, std::int32_t silent_frames);

class PocketsphinxRecognizer : public runtime::SpeechRecognizer {
 public:
  // Null and a reason in `error` when the model cannot be loaded.
  static std::unique_ptr<PocketsphinxRecognizer> Create(const RecognizerModel& model,
                                                        std::ostream& diagnostics,
                                                        std::string* error);
  ~PocketsphinxRecognizer() override;

  bool SetGrammars(const std::vector<std::string>& grammars) override;
  void StartUtterance() override;
  void Feed(const std::int16_t* samples, std::size_t count) override;
  bool InSpeech() const override;
  runtime::Recognition EndUtterance() override;

 private:
  struct Decoders;
  PocketsphinxRecognizer(std::unique_ptr<Decoders> decoders, std::ostream& diagnostics);
  void ReportMissingWords(const std::vector<std::string>& grammars);
  void AddAlternatives(runtime::Recognition& heard, double best_gap, std::int32_t silent_frames,
                       std::int32_t frames);

  std::unique_ptr<Decoders> decoders_;
  std::ostream& diagnostics_;
  runtime::JsgfGrammar jsgf_;
  std::set<std::string> reported_;  // grammars whose missing words were already reported
  bool offered_ = false;
  bool in_utterance_ = false;
  std::int64_t samples_fed_ = 0;
};

}  // namespace rirerazo::voice
