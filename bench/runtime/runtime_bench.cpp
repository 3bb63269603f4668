// The character runtime on the virtual clock: many requests across several characters run to
// completion through the headless loop, and the memory one loaded character takes. Heap use
// is measured by counting this program's allocations (operator new is replaced below).
// Uses Merlin from RIRERAZO_SHARED_DIR/characters when present, else a small built-in
// character (the figures then say "builtin").
#include <benchmark/benchmark.h>

#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <new>
#include <string>

#include "headless/event_loop.h"
#include "host/runtime_source.h"
#include "runtime/character_runtime.h"
#include "runtime/rate_model.h"

namespace {

std::atomic<std::size_t> g_current_bytes{0};
std::atomic<std::size_t> g_peak_bytes{0};

void Track(std::size_t bytes) {
  std::size_t now = g_current_bytes.fetch_add(bytes) + bytes;
  std::size_t peak = g_peak_bytes.load();
  while (now > peak && !g_peak_bytes.compare_exchange_weak(peak, now)) {
  }
}

}  // namespace

// Each block carries its size in front, so delete can count what it frees. The operators
// are never inlined: the compiler would otherwise see a block from malloc reach delete and
// a pointer step back in front of what new returned, and warn of both.
__attribute__((noinline)) void* operator new(std::size_t size) {
  auto* block = static_cast<std::size_t*>(std::malloc(size + sizeof(std::max_align_t)));
  if (!block) throw std::bad_alloc();
  *block = size;
  Track(size);
  return reinterpret_cast<char*>(block) + sizeof(std::max_align_t);
}
__attribute__((noinline)) void operator delete(void* pointer) noexcept {
  if (!pointer) return;
  char* block = static_cast<char*>(pointer) - sizeof(std::max_align_t);
  g_current_bytes.fetch_sub(*reinterpret_cast<std::size_t*>(block));
  std::free(block);
}
void operator delete(void* pointer, std::size_t) noexcept {
  operator delete(pointer);
}

namespace {

using namespace rirerazo;

const std::string kFolder = std::string(RIRERAZO_SHARED_DIR) + "/characters";
bool HaveMerlin() {
  return std::filesystem::exists(kFolder + "/Merlin.acs");
}

std::shared_ptr<const acs::Character> BuiltinCharacter() {
  auto character = std::make_shared<acs::Character>();
  character->info.width = character->info.height = 128;
  auto add = [&](const char* name, int frames, const char* state) {
    acs::Animation animation;
    animation.name = name;
    for (int i = 0; i < frames; ++i) {
      acs::Frame frame;
      frame.duration_cs = 10;
      frame.images.push_back({});
      animation.frames.push_back(frame);
    }
    character->animations.push_back(animation);
    if (state) character->info.states.push_back({state, {name}});
  };
  add("Show", 10, "SHOWING");
  add("RestPose", 1, "SPEAKING");
  add("Blink", 4, nullptr);
  add("Wave", 12, nullptr);
  add("MoveLeft", 6, "MOVINGLEFT");
  add("MoveRight", 6, "MOVINGRIGHT");
  add("GestureLeft", 6, "GESTURINGLEFT");
  add("GestureRight", 6, "GESTURINGRIGHT");
  return character;
}

struct Counter : platform::AgentEvents {
  std::size_t completed = 0;
  void OnBookmark(std::int32_t) override {}
  void OnRequestComplete(platform::AgentRequest) override { ++completed; }
  void OnCommand(const platform::UserInput&) override {}
  void OnShow(const std::string&, platform::VisibilityCause) override {}
  void OnHide(const std::string&, platform::VisibilityCause) override {}
};

// A runtime with four characters loaded from one file, on a virtual clock and loop.
struct Stage {
  static runtime::RuntimeOptions Options() {
    runtime::RuntimeOptions options;
    options.idle_enabled = false;
    return options;
  }
  Stage() {
    runtime->SetEventListener(&counter);
    if (HaveMerlin()) {
      runtime->SetCharacterFolders({kFolder});
    } else {
      runtime->SetFileLoader([](const std::string&) { return BuiltinCharacter(); });
      runtime->SetCharacterFolders({std::filesystem::temp_directory_path().string()});
    }
    loop.AddSource(source);
  }
  headless::VirtualClock clock;
  runtime::RateModelEngine engine;
  std::unique_ptr<runtime::CharacterRuntime> runtime =
      std::make_unique<runtime::CharacterRuntime>(clock, engine, Options());
  Counter counter;
  host::RuntimeSource source{*runtime};
  headless::EventLoop loop{clock};
};

std::string FileName() {
  return HaveMerlin() ? "Merlin.acs" : "builtin";
}

// A mix of what scripts queue: animations, speech with a bookmark, moves and gestures.
void QueueRequests(runtime::CharacterRuntime& runtime, int per_character) {
  for (int c = 0; c < 4; ++c) {
    platform::AgentCharacter& character = runtime.Character("C" + std::to_string(c));
    character.Show();
    for (int i = 1; i < per_character; ++i) {
      switch (i % 5) {
        case 0:
          character.Play("Blink");
          break;
        case 1:
          character.Speak("Hello there, \\mrk=5\\ friend.", std::nullopt);
          break;
        case 2:
          character.MoveTo(std::int16_t(i % 800), std::int16_t(i % 600), 300);
          break;
        case 3:
          character.GestureAt(std::int16_t(1000 - i % 800), 50);
          break;
        default:
          character.Think("Hmm.");
          break;
      }
    }
  }
}

void BM_HundredThousandRequests(benchmark::State& state) {
  if (!HaveMerlin()) {
    std::ofstream touch(std::filesystem::temp_directory_path() / "builtin");
  }
  const int total = 100000;
  std::size_t peak = 0;
  std::int64_t virtual_ms = 0;
  for (auto _ : state) {
    state.PauseTiming();
    std::size_t before = g_current_bytes.load();
    g_peak_bytes = before;
    auto stage = std::make_unique<Stage>();
    for (int c = 0; c < 4; ++c) stage->runtime->Load("C" + std::to_string(c), FileName());
    state.ResumeTiming();
    QueueRequests(*stage->runtime, total / 4);
    headless::RunOutcome outcome = stage->loop.RunUntilDone({1'000'000'000'000, 1'000'000});
    state.PauseTiming();
    if (outcome != headless::RunOutcome::kNothingPending || stage->counter.completed != total) {
      state.SkipWithError("the requests did not all complete");
    }
    virtual_ms = stage->clock.NowMs();
    peak = std::max(peak, g_peak_bytes.load() - before);
    stage.reset();
    state.ResumeTiming();
  }
  state.counters["requests_per_s"] =
      benchmark::Counter(double(total) * double(state.iterations()), benchmark::Counter::kIsRate);
  state.counters["peak_heap_MiB"] = double(peak) / (1024.0 * 1024.0);
  state.counters["virtual_hours"] = double(virtual_ms) / 3'600'000.0;
  state.SetLabel(FileName());
}
BENCHMARK(BM_HundredThousandRequests)->Unit(benchmark::kMillisecond);

// What loading one character costs in heap: the kept file bytes, the model and the
// runtime's timing data. A second id for the same file shares all of it.
void BM_LoadOneCharacter(benchmark::State& state) {
  std::size_t first = 0, second = 0;
  for (auto _ : state) {
    Stage stage;
    std::size_t before = g_current_bytes.load();
    stage.runtime->Load("A", FileName());
    std::size_t after_first = g_current_bytes.load();
    stage.runtime->Load("B", FileName());
    first = after_first - before;
    second = g_current_bytes.load() - after_first;
  }
  state.counters["first_load_MiB"] = double(first) / (1024.0 * 1024.0);
  state.counters["second_id_KiB"] = double(second) / 1024.0;
  state.SetLabel(FileName());
}
BENCHMARK(BM_LoadOneCharacter)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
