// How soon speech is heard: the time from Speak to the moment the synthesised sound is handed
// to the audio output (the whole utterance is synthesised first, so this grows with the
// text). Also the work of the sound server's thread per chunk. Needs espeak-ng's voice
// data.
#include <benchmark/benchmark.h>

#include <chrono>

#include "desktop/audio/null_audio_output.h"
#include "desktop/audio/private/mixer.h"
#include "desktop/speech/espeak_engine.h"
#include "runtime/speech_tags.h"

namespace {

using namespace rirerazo;

// Remembers when the sound arrived; plays nothing.
class ClockedOutput : public desktop::AudioOutput {
 public:
  std::unique_ptr<desktop::AudioStream> Play(std::vector<std::int16_t> samples,
                                             desktop::PcmFormat format, float volume) override {
    handed_at = std::chrono::steady_clock::now();
    samples_ms = std::int64_t(samples.size()) * 1000 / format.sample_rate_hz;
    return null_->Play(std::move(samples), format, volume);
  }
  bool Audible() const override { return false; }

  std::chrono::steady_clock::time_point handed_at;
  std::int64_t samples_ms = 0;

 private:
  std::unique_ptr<desktop::AudioOutput> null_ = desktop::MakeNullAudioOutput();
};

const char* const kTexts[] = {
    "Hello, I am Merlin.",
    "Welcome to the show. Today I will tell you about the characters that live on your "
    "desktop, how they speak \\mrk=1\\ and how they move. Let us begin with a short story "
    "about a wizard, a genie and a parrot who met one morning.",
    "Welcome to the show. Today I will tell you about the characters that live on your "
    "desktop, how they speak and how they move. Let us begin with a short story about a "
    "wizard, a genie and a parrot who met one morning. The wizard had lost his hat, the genie "
    "had lost his lamp, and the parrot had lost nothing at all, but he was happy to help. "
    "They searched the attic, the garden and the old library, and at last they found the hat "
    "on the lamp and the lamp in the hat. Everybody laughed, and the parrot laughed the "
    "loudest of them all. \\mrk=2\\ That is the end of the story; thank you for listening."};

void BM_SpeakToFirstSample(benchmark::State& state) {
  ClockedOutput output;
  desktop::EspeakEngine engine(output);
  if (!engine.Ready()) {
    state.SkipWithError("espeak-ng voice data is not installed");
    return;
  }
  const runtime::SpeechText text = runtime::ParseSpeechText(kTexts[state.range(0)]);
  const runtime::VoiceSettings voice;
  for (auto _ : state) {
    const auto start = std::chrono::steady_clock::now();
    auto utterance = engine.Speak(text, voice, false);
    state.SetIterationTime(std::chrono::duration<double>(output.handed_at - start).count());
    benchmark::DoNotOptimize(utterance);
  }
  state.counters["speech_ms"] = double(output.samples_ms);
}
BENCHMARK(BM_SpeakToFirstSample)
    ->Arg(0)
    ->Arg(1)
    ->Arg(2)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

// One 20 ms chunk of the sound server's thread: speech (22050 Hz mono) and an animation
// sound (11025 Hz mono) converted to 44100 Hz stereo and mixed.
void BM_MixOneChunk(benchmark::State& state) {
  desktop::Mixer mixer({44100, 2}, desktop::SteadyNowMs);
  std::vector<std::unique_ptr<desktop::AudioStream>> streams;
  std::vector<std::int16_t> chunk;
  for (auto _ : state) {
    if (!mixer.MixNext(882, chunk)) {
      state.PauseTiming();
      streams.clear();
      streams.push_back(mixer.Add(std::vector<std::int16_t>(22050 * 10, 1000), {22050, 1}, 1));
      streams.push_back(mixer.Add(std::vector<std::int16_t>(11025 * 10, 500), {11025, 1}, 1));
      state.ResumeTiming();
    }
    benchmark::DoNotOptimize(chunk.data());
  }
}
BENCHMARK(BM_MixOneChunk)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
