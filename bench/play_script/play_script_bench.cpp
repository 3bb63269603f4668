// Lines per second through PlayScript: a generated script of 100,000 mixed statements for
// two characters, played on the real character runtime with the virtual clock (the headless
// host's set-up). Each run starts from freshly loaded characters; only PlayScript is timed.
// Peak memory is the process's maximum resident set size at the end.
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <array>
#include <filesystem>
#include <memory>
#include <string>

#include "core/agent/characters.h"
#include "core/app/player.h"
#include "core/interp/play_script.h"
#include "headless/event_loop.h"
#include "headless/virtual_clock.h"
#include "host/runtime_source.h"
#include "runtime/character_runtime.h"
#include "runtime/rate_model.h"
#include "support/fake_platform.h"

namespace {

using namespace rirerazo;

const std::string kCharacterFile = std::string(RIRERAZO_SHARED_DIR) + "/characters/Merlin.acs";

// One block of the mix; the script repeats it with a counter in the spoken text.
constexpr std::array<const char*, 20> kMix = {
    "Host.Speak Hello there, number {n}.",
    "Guest.Think \"Hmm, {n}\"",
    "Host.MoveTo HostCenterX, HostBottomY - 20",
    "Guest.MoveTo Guest.Left + 10, Guest.Top - 5, 200",
    "Host.Play Wave",
    "Guest.GestureAt 100, 200",
    "",
    "SETREQ=Host.Speak(\"Wait for me {n}\")",
    "WAITFORREQ",
    "Guest.Speak \"\"\"Quoted\"\" reply\"",
    "Host.Balloon.FontSize = 12",
    "Guest.Balloon.Style = 3",
    "' a remark that matches nothing",
    "Host.Speak It is \" & GetTime() & \" now",
    "Guest.Play Blink",
    "Host.Think thinking",
    "Guest.Speak VORN says {n}",
    "Host.GestureAt HostRightX, 0",
    "host.speak lower case {n}",
    "GUEST.MOVETO 10.5, 11.5",
};

std::string MakeScript(int lines) {
  std::string script;
  for (int i = 0; i < lines; ++i) {
    std::string line = kMix[static_cast<std::size_t>(i) % kMix.size()];
    if (auto at = line.find("{n}"); at != std::string::npos) line.replace(at, 3, std::to_string(i));
    script += line + "\r\n";
  }
  return script;
}

// The headless host's services with Host and Guest loaded.
struct Stage {
  headless::VirtualClock clock;
  runtime::RateModelEngine engine;
  runtime::CharacterRuntime agent{clock, engine, runtime::RuntimeOptions{.idle_enabled = false}};
  host::RuntimeSource source{agent};
  headless::EventLoop loop{clock};
  testing::Log log;
  testing::FakeUi ui{log};
  testing::FakeSystem system;
  platform::Platform bundle{&ui, &clock, &loop, &system, &agent};
  Player player{bundle};

  Stage() {
    loop.AddSource(source);
    player.startup().screen_width_px = 1024;
    player.startup().screen_height_px = 768;
    for (const char* id : {"Guest", "Host"}) {
      std::int32_t language = 0;
      CharLoad(player, id, kCharacterFile, LoadErrors::kQuiet, language);
    }
  }
};

void BM_PlayScript(benchmark::State& state) {
  if (!std::filesystem::exists(kCharacterFile)) {
    state.SkipWithError("no character file");
    return;
  }
  const int lines = static_cast<int>(state.range(0));
  const std::string script = MakeScript(lines);
  for (auto _ : state) {
    state.PauseTiming();
    auto stage = std::make_unique<Stage>();
    state.ResumeTiming();
    PlayScript(stage->player, script, ScriptLevel::kTopLevel);
    state.PauseTiming();
    stage.reset();
    state.ResumeTiming();
  }
  state.counters["lines_per_s"] =
      benchmark::Counter(static_cast<double>(lines) * static_cast<double>(state.iterations()),
                         benchmark::Counter::kIsRate);
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  state.counters["peak_rss_MB"] = static_cast<double>(usage.ru_maxrss) / 1024.0;
}
BENCHMARK(BM_PlayScript)->Arg(100000)->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace

BENCHMARK_MAIN();
