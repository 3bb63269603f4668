// Test doubles and a small in-memory character for the runtime tests: a settable clock, a
// listener that writes every event as a line stamped with the clock, and a harness that
// drives the runtime the way the headless loop does.
#pragma once

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/clock.h"
#include "platform/runtime_error.h"
#include "runtime/acs/acs_file.h"
#include "runtime/character_runtime.h"
#include "runtime/rate_model.h"

namespace rirerazo::runtime::testing {

class FakeClock : public platform::Clock {
 public:
  std::int64_t NowMs() const override { return now_ms_; }
  platform::LocalDateTime LocalNow() const override { return {}; }
  void Set(std::int64_t ms) {
    if (ms > now_ms_) now_ms_ = ms;
  }

 private:
  std::int64_t now_ms_ = 0;
};

// Frames and animations, durations in milliseconds (stored as hundredths).
acs::Frame MakeFrame(int duration_ms, std::int16_t exit_frame = acs::kExitNone,
                     std::vector<acs::Branch> branches = {}, bool mouths = false,
                     bool images = true);
acs::Animation MakeAnimation(const std::string& name, acs::TransitionType transition,
                             std::vector<acs::Frame> frames, const std::string& return_name = "");

// "Demo": 100 x 120 pixels, every standard state, a balloon, English voice. Its animations:
//   Showing 3 x 100 ms; Hiding 2 x 100 ms; Talk 1 x 50 ms with mouths (Speaking state);
//   Wave: 0,1,2,3 (100 ms each) then an empty end frame; exits 3->2->1->0->end;
//   Loop: 0 (100 ms), 1 (100 ms, back to 0 always, exit to 2), 2 (100 ms);
//   Explain: 2 x 100 ms, returns through ExplainReturn (1 x 100 ms);
//   MoveLeft / MoveRight / MoveUp / MoveDown 2 x 100 ms; GestureLeft / Right / Up / Down
//   2 x 100 ms; Idle1 2 x 200 ms (IdlingLevel1); Blank: one empty frame of 0 ms.
std::shared_ptr<acs::Character> MakeDemoCharacter();

// One event as a line: "<ms> <event> <details>", e.g. "350 start 3", "1521 complete 3
// complete", "1100 bookmark 7", "0 show Host program", "20 command Host Greet 100".
class EventLog : public platform::AgentEvents {
 public:
  EventLog(const platform::Clock& clock, const platform::AgentControl& control)
      : clock_(clock), control_(control) {}

  void OnBookmark(std::int32_t bookmark_id) override;
  void OnRequestStart(platform::AgentRequest request) override;
  void OnRequestComplete(platform::AgentRequest request) override;
  void OnCommand(const platform::UserInput& input) override;
  void OnShow(const std::string& id, platform::VisibilityCause cause) override;
  void OnHide(const std::string& id, platform::VisibilityCause cause) override;
  void OnClick(const std::string& id, int x, int y) override;
  void OnDragComplete(const std::string& id, int x, int y) override;
  void OnIdleStart(const std::string& id) override;
  void OnBalloonShow(const std::string& id) override;
  void OnBalloonHide(const std::string& id) override;
  void OnListenStart(const std::string& id) override;
  void OnListenComplete(const std::string& id) override;

  std::vector<std::string> lines;
  // Lines that contain `word`, for tests that look at one kind of event.
  std::vector<std::string> With(const std::string& word) const;

 private:
  void Add(const std::string& text);
  const platform::Clock& clock_;
  const platform::AgentControl& control_;
};

std::string StatusName(platform::RequestStatus status);

// A runtime on a fake clock with the rate model, characters served from memory. Files are
// looked up for real, in a temporary folder holding an empty placeholder per character name.
class Harness {
 public:
  explicit Harness(RuntimeOptions options = QuietOptions());
  ~Harness();

  static RuntimeOptions QuietOptions() {
    RuntimeOptions options;
    options.idle_enabled = false;
    return options;
  }

  // Makes `file_name` loadable from the character folder, serving `character`.
  void AddFile(const std::string& file_name, std::shared_ptr<acs::Character> character);
  platform::AgentCharacter& Load(const std::string& id, const std::string& file = "Demo.acs");

  // Plays everything due up to `ms` in time order, delivering events at each step's time, and
  // leaves the clock at `ms`.
  void RunUntil(std::int64_t ms);
  // Runs until no work is pending (idling aside); returns the time it ended at.
  std::int64_t RunAll(std::int64_t limit_ms = 10'000'000);
  std::int64_t Now() const { return clock.NowMs(); }

  FakeClock clock;
  RateModelEngine engine;
  CharacterRuntime runtime;
  EventLog log;
  std::filesystem::path folder;
  std::map<std::string, std::shared_ptr<acs::Character>> files;
  int loads = 0;  // how often the loader ran
};

}  // namespace rirerazo::runtime::testing
