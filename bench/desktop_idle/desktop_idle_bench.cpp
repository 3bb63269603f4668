// Characters on the desktop for a while, on an X server of the program's own (Xvfb).
//   desktop_idle_bench [seconds]
// First Rira alone, shown and left to idle: the player's CPU time as a share of one core
// (getrusage; the X server's share, read from /proc, is given apart). Then Merlin and Genie, both
// shown and playing one animation after another: the player's resident memory at the end and at its
// peak. The loop is the host's: a single-shot timer at the runtime's next due time, then
// Advance, DeliverEvents and the stage's Sync.
#include <sys/resource.h>
#include <unistd.h>

#include <QApplication>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <map>
#include <memory>
#include <sstream>
#include <string>

#include "desktop/audio/audio_output.h"
#include "desktop/character/character_stage.h"
#include "desktop/character/character_window.h"
#include "os/system_clock.h"
#include "runtime/acs/acs_file.h"
#include "runtime/character_runtime.h"
#include "runtime/rate_model.h"
#include "support/xvfb_server.h"

namespace {

using namespace rirerazo;

// Animation sounds are decoded and handed over, but nothing is played.
class SilentOutput : public desktop::AudioOutput {
 public:
  std::unique_ptr<desktop::AudioStream> Play(std::vector<std::int16_t>, desktop::PcmFormat,
                                             float) override {
    return nullptr;
  }
  bool Audible() const override { return false; }
};

// Animations of the standard set that move a lot.
const char* const kBusyAnimations[] = {"Greet",   "Congratulate", "Explain",  "GetAttention",
                                       "Process", "Search",       "Write",    "Read",
                                       "Wave",    "Announce",     "Surprised"};

// Keeps characters busy: every 1.5 s each stops what it does and plays its next animation
// (some animations loop until stopped).
class Replayer {
 public:
  explicit Replayer(runtime::CharacterRuntime& runtime) : runtime_(runtime) {
    timer_.setInterval(1500);
    QObject::connect(&timer_, &QTimer::timeout, [this] { Next(); });
  }
  void Start() { timer_.start(); }
  std::size_t plays = 0;

 private:
  void Next() {
    for (const std::string& id : runtime_.CharacterIds()) {
      platform::AgentCharacter& character = runtime_.Character(id);
      const std::vector<std::string> names = character.AnimationNames();
      std::vector<std::string> busy;
      for (const char* name : kBusyAnimations) {
        if (std::find(names.begin(), names.end(), name) != names.end()) busy.push_back(name);
      }
      if (busy.empty()) busy = names;
      if (busy.empty()) continue;
      character.StopAll();
      character.Play(busy[next_[id]++ % busy.size()]);
      ++plays;
    }
  }
  runtime::CharacterRuntime& runtime_;
  std::map<std::string, std::size_t> next_;
  QTimer timer_;
};

double CpuSeconds() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
         double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

// CPU seconds of this process's children (the X server), from /proc.
double ChildrenCpuSeconds() {
  std::ifstream children("/proc/self/task/" + std::to_string(getpid()) + "/children");
  double total = 0;
  long pid = 0;
  while (children >> pid) {
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string text((std::istreambuf_iterator<char>(stat)), std::istreambuf_iterator<char>());
    std::istringstream fields(text.substr(text.rfind(')') + 2));
    std::string field;
    // After the name: state is field 3; utime and stime are fields 14 and 15.
    for (int index = 3; index <= 13 && fields >> field; ++index) {
    }
    long utime = 0, stime = 0;
    fields >> utime >> stime;
    total += double(utime + stime) / double(sysconf(_SC_CLK_TCK));
  }
  return total;
}

long StatusKb(const std::string& field) {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.rfind(field + ":", 0) == 0) return std::atol(line.c_str() + field.size() + 1);
  }
  return -1;
}

std::size_t g_serves = 0;  // the loop's wake-ups

std::size_t FramesShown(const desktop::CharacterStage& stage) {
  std::size_t frames = 0;
  for (const std::string& id : stage.WindowIds()) frames += stage.Window(id)->FramesShown();
  return frames;
}

// Runs the host's loop for `seconds` of real time.
void RunLoop(os::SystemClock& clock, runtime::CharacterRuntime& runtime,
             desktop::CharacterStage& stage, double seconds) {
  QTimer wake;
  wake.setSingleShot(true);
  auto serve = [&] {
    ++g_serves;
    runtime.Advance(clock.NowMs());
    runtime.DeliverEvents();
    stage.Sync();
    const std::optional<std::int64_t> due = runtime.NextDueMs();
    const std::int64_t wait_ms = due ? std::max<std::int64_t>(0, *due - clock.NowMs()) : 1000;
    wake.start(int(std::min<std::int64_t>(wait_ms, 1000)));
  };
  QObject::connect(&wake, &QTimer::timeout, serve);
  serve();
  QTimer::singleShot(int(seconds * 1000), [] { QCoreApplication::exit(0); });
  QApplication::exec();
}

struct Session {
  os::SystemClock clock;
  runtime::RateModelEngine engine;
  runtime::CharacterRuntime runtime;
  SilentOutput audio;
  desktop::CharacterStage stage{runtime, audio};
  Replayer replayer{runtime};
  explicit Session(runtime::RuntimeOptions options) : runtime(clock, engine, options) {
    runtime.SetFileLoader([](const std::string& path) {
      return std::make_shared<const acs::Character>(acs::ReadCharacterFile(path));
    });
    runtime.SetObserver(&stage);
  }
};

void IdleRira(double seconds) {
  runtime::RuntimeOptions options;
  options.idle_after_ms = 1000;
  Session session(options);
  session.runtime.Load("Rira", std::string(RIRERAZO_BINARY_DIR) + "/src/Rira.acs");
  session.runtime.Character("Rira").MoveTo(400, 300, 0);
  session.runtime.Character("Rira").Show();
  RunLoop(session.clock, session.runtime, session.stage, 3.0);  // shown, idling begun
  const std::size_t frames_before = FramesShown(session.stage);
  const std::size_t wakes_before = g_serves;
  const double cpu_before = CpuSeconds();
  const double server_before = ChildrenCpuSeconds();
  RunLoop(session.clock, session.runtime, session.stage, seconds);
  const double cpu_percent = 100.0 * (CpuSeconds() - cpu_before) / seconds;
  const double server_percent = 100.0 * (ChildrenCpuSeconds() - server_before) / seconds;
  std::printf(
      "idle Rira, %.0f s: CPU %.2f %% of a core (X server %.2f %%), %zu frames drawn, %zu "
      "wake-ups\n",
      seconds, cpu_percent, server_percent, FramesShown(session.stage) - frames_before,
      g_serves - wakes_before);
}

void MerlinAndGenie(double seconds) {
  Session session(runtime::RuntimeOptions{});
  const std::string folder = std::string(RIRERAZO_SHARED_DIR) + "/characters/";
  session.runtime.Load("Merlin", folder + "Merlin.acs");
  session.runtime.Load("Genie", folder + "Genie.acs");
  session.runtime.Character("Merlin").MoveTo(150, 200, 0);
  session.runtime.Character("Genie").MoveTo(600, 200, 0);
  session.runtime.Character("Merlin").Show();
  session.runtime.Character("Genie").Show();
  session.replayer.Start();
  const double cpu_before = CpuSeconds();
  RunLoop(session.clock, session.runtime, session.stage, seconds);
  const double cpu_percent = 100.0 * (CpuSeconds() - cpu_before) / seconds;
  std::printf(
      "Merlin and Genie animating, %.0f s: resident %.1f MB (peak %.1f MB), CPU %.1f %% of a "
      "core, %zu frames drawn, %zu animations\n",
      seconds, double(StatusKb("VmRSS")) / 1024.0, double(StatusKb("VmHWM")) / 1024.0, cpu_percent,
      FramesShown(session.stage), session.replayer.plays);
}

}  // namespace

int main(int argc, char** argv) {
  const double seconds = argc > 1 ? std::atof(argv[1]) : 20.0;
  rirerazo::testing::XvfbServer server;
  if (!server.Running()) {
    std::fprintf(stderr, "desktop_idle_bench: Xvfb could not be started\n");
    return 1;
  }
  setenv("DISPLAY", server.Display().c_str(), 1);
  setenv("QT_QPA_PLATFORM", "xcb", 1);
  setenv("DBUS_SESSION_BUS_ADDRESS", "disabled:", 1);
  unsetenv("WAYLAND_DISPLAY");
  QApplication app(argc, argv);
  IdleRira(seconds);
  MerlinAndGenie(seconds);
  return 0;
}
