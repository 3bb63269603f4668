// Test doubles for the player's user interface, clock and message loop: boxes and pointer
// changes are recorded, time is virtual, and callbacks can be scheduled to run from inside
// DoEvents at a virtual time, the way a host delivers events.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "platform/clock.h"
#include "platform/message_loop.h"
#include "platform/ui.h"

namespace rirerazo::testing {

struct RecordedBox {
  std::string text;
  std::string title;
  int style = 0;
};

// Records every box and pointer change; every box is answered with `answer`.
class RecordingUi final : public platform::Ui {
 public:
  platform::MsgAnswer MessageBox(const std::string& text, const std::string& title,
                                 int style) override {
    boxes.push_back({text, title, style});
    return answer;
  }
  void SetCursor(platform::Cursor cursor) override { cursors.push_back(cursor); }
  int ScreenWidthPx() const override { return width_px; }
  int ScreenHeightPx() const override { return height_px; }

  std::vector<RecordedBox> boxes;
  std::vector<platform::Cursor> cursors;
  platform::MsgAnswer answer = platform::MsgAnswer::kOk;
  int width_px = 1024;
  int height_px = 768;
};

// Virtual time that moves only in Sleep. DoEvents runs the callbacks due by now, in time
// order; a callback may schedule more or call DoEvents itself.
class VirtualLoop final : public platform::MessageLoop, public platform::Clock {
 public:
  void At(std::int64_t due_ms, std::function<void()> callback) {
    pending_.emplace(due_ms, std::move(callback));
  }
  void DoEvents() override {
    ++do_events_calls;
    while (!pending_.empty() && pending_.begin()->first <= now_ms_) {
      auto callback = std::move(pending_.begin()->second);
      pending_.erase(pending_.begin());
      callback();
    }
  }
  void Sleep(std::int64_t duration_ms) override {
    sleeps.push_back(duration_ms);
    now_ms_ += duration_ms;
  }
  void StartTimer(std::int64_t, std::function<void()>) override {}
  void StopTimer() override {}
  bool TimerEnabled() const override { return false; }
  void Quit() override { quit_ = true; }
  bool QuitRequested() const override { return quit_; }

  std::int64_t NowMs() const override { return now_ms_; }
  platform::LocalDateTime LocalNow() const override { return {}; }
  void SetNowMs(std::int64_t now_ms) { now_ms_ = now_ms; }

  int do_events_calls = 0;
  std::vector<std::int64_t> sleeps;

 private:
  std::int64_t now_ms_ = 0;
  bool quit_ = false;
  std::multimap<std::int64_t, std::function<void()>> pending_;
};

}  // namespace rirerazo::testing
