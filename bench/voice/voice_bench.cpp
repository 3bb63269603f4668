// Measures the voice module on this machine:
//   1. loading it: dlopen of rirerazo-voice.so, then the recogniser (acoustic model and
//      dictionary of both decoders);
//   2. the time from the end of a phrase (the recogniser's voice detector says speech ended)
//      to the Command the runtime raises: the end of the utterance, the lattice's
//      alternatives and the choice of command, for phrases synthesised with espeak-ng;
//   3. the CPU a listening session takes while the microphone hears only quiet room noise,
//      fed in real time through the listening thread.
// Run from the build folder: bench/voice/voice_bench (the module is found beside the program
// or in ../src).
#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "os/module_loader.h"
#include "runtime/voice_commands.h"
#include "voice/listening_thread.h"
#include "voice/pocketsphinx_recognizer.h"
#include "voice/wave_file.h"

namespace {

using Clock = std::chrono::steady_clock;
using rirerazo::voice::ListeningThread;

double MsSince(Clock::time_point start) {
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

double CpuSeconds() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
         double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

std::vector<std::int16_t> Synthesise(const std::string& text) {
  std::string command = "espeak-ng -v en-us -w /tmp/voice_bench.raw.wav \"" + text +
                        "\" && sox /tmp/voice_bench.raw.wav -r 16000 -c 1 -b 16 "
                        "/tmp/voice_bench.wav";
  if (std::system(command.c_str()) != 0) return {};
  std::string error;
  return rirerazo::voice::ReadSpeechWave("/tmp/voice_bench.wav", &error).value_or(std::vector<std::int16_t>{});
}

// Quiet room noise: a few units of random level, as a microphone gives in a silent room.
class QuietRoom : public rirerazo::voice::AudioSource {
 public:
  long Read(std::int16_t* samples, std::size_t capacity) override {
    std::this_thread::sleep_for(std::chrono::milliseconds(capacity * 1000 / 16000));
    for (std::size_t i = 0; i < capacity; ++i) samples[i] = std::int16_t(noise_(random_));
    return long(capacity);
  }

 private:
  std::mt19937 random_{7};
  std::uniform_int_distribution<int> noise_{-40, 40};
};

void MeasureLatency(rirerazo::voice::PocketsphinxRecognizer& recognizer) {
  rirerazo::runtime::VoiceGrammarSet offered{
      {"what time is it", "tell me a (joke | story)", "(next | previous) slide",
       "turn (on | off) the lights", "[please] open [the] calendar", "stop the music"},
      {{"R", "Time"},
       {"R", "Tell"},
       {"R", "Slide"},
       {"R", "Lights"},
       {"R", "Open"},
       {"R", "Stop"}}};
  recognizer.SetGrammars(offered.grammars);
  std::vector<double> latencies;
  for (const char* phrase : {"what time is it", "tell me a story", "next slide",
                             "turn on the lights", "please open the calendar", "stop the music"}) {
    std::vector<std::int16_t> audio = Synthesise(phrase);
    audio.resize(audio.size() + 16000, 0);  // a second of silence after the phrase
    recognizer.StartUtterance();
    bool was_speaking = false;
    for (std::size_t at = 0; at < audio.size(); at += ListeningThread::kBlockSamples) {
      recognizer.Feed(audio.data() + at,
                      std::min(ListeningThread::kBlockSamples, audio.size() - at));
      bool speaking = recognizer.InSpeech();
      if (was_speaking && !speaking) break;
      was_speaking = speaking;
    }
    Clock::time_point end_of_speech = Clock::now();
    rirerazo::runtime::VoiceDecision decision =
        rirerazo::runtime::DecideVoiceInput(offered, recognizer.EndUtterance(), "R");
    latencies.push_back(MsSince(end_of_speech));
    std::printf("  %-26s -> %-6s confidence %4d  %6.1f ms\n", phrase, decision.input.name.c_str(),
                decision.input.confidence, latencies.back());
  }
  std::sort(latencies.begin(), latencies.end());
  std::printf("end of phrase to Command: median %.1f ms, worst %.1f ms\n",
              latencies[latencies.size() / 2], latencies.back());
}

void MeasureSilence(rirerazo::voice::PocketsphinxRecognizer& recognizer) {
  constexpr int kSeconds = 10;
  double cpu_before = CpuSeconds();
  Clock::time_point start = Clock::now();
  {
    ListeningThread session(std::make_unique<QuietRoom>(), recognizer);
    std::this_thread::sleep_for(std::chrono::seconds(kSeconds));
    session.Finish(false);
  }
  double wall = MsSince(start) / 1000.0;
  std::printf("listening to quiet room noise: %.1f %% of one core over %.1f s\n",
              100.0 * (CpuSeconds() - cpu_before) / wall, wall);
}

}  // namespace

int main() {
  Clock::time_point start = Clock::now();
  rirerazo::os::LoadedModule module =
      rirerazo::os::LoadModule("rirerazo-voice.so", "rirerazo_voice_module");
  std::printf("dlopen of the module: %.1f ms (%s)\n", MsSince(start),
              module.entry ? module.path.c_str() : module.error.c_str());
  start = Clock::now();
  std::string error;
  auto recognizer = rirerazo::voice::PocketsphinxRecognizer::Create(
      rirerazo::voice::InstalledModel(), std::cerr, &error);
  if (!recognizer) {
    std::fprintf(stderr, "no recogniser: %s\n", error.c_str());
    return 1;
  }
  std::printf("recogniser created (model and dictionary, two decoders): %.1f ms\n", MsSince(start));
  MeasureLatency(*recognizer);
  MeasureSilence(*recognizer);
  return 0;
}
