// The desktop's message loop: the player's yields on Qt's event loop and the system clock.
//
// Sources (the character runtime, the presentation application) are served when they fall
// due: a single-shot Qt timer wakes the loop at the earliest due time, so an idle player
// costs nothing between frames. Events reach the player only where it yields (DoEvents, and
// the main loop of Run), and also while a message box that a delivered event opened waits
// for its answer (its own loop runs inside the serve): events and the timer keep coming
// there, as a script's error box lets further events and errors through. During a Sleep
// the characters keep animating but no event is delivered until the player yields again.
#pragma once

#include <QObject>
#include <QTimer>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

#include "host/event_source.h"
#include "host/repeating_timer.h"
#include "platform/clock.h"
#include "platform/message_loop.h"

namespace rirerazo::desktop {

class DesktopLoop : public QObject, public platform::MessageLoop {
  Q_OBJECT

 public:
  explicit DesktopLoop(const platform::Clock& clock);

  // Served in the order added; not owned.
  void AddSource(host::EventSource& source) { sources_.push_back(&source); }
  // Moves the characters on without delivering events, then redraws (runtime Advance and
  // the windows' sync); called after every serve and while the player sleeps.
  void SetAnimator(std::function<void()> animate) { animate_ = std::move(animate); }
  // Called once when the player quits, so the host can close what still waits for the user
  // (message boxes opened by nested scripts) and the nested loops unwind.
  void SetOnQuit(std::function<void()> on_quit) { on_quit_ = std::move(on_quit); }

  void DoEvents() override;
  void Sleep(std::int64_t duration_ms) override;
  void StartTimer(std::int64_t interval_ms, std::function<void()> tick) override;
  void StopTimer() override;
  bool TimerEnabled() const override { return timer_.Enabled(); }
  void Quit() override;
  bool QuitRequested() const override { return quit_; }

  // Something happened outside the loop's sources (the user acted on a window): serve as
  // soon as Qt's loop runs again.
  void WakeSoon() { wake_.start(0); }

  // The host's main loop once start-up has returned: serves and waits until the player
  // quits, or until nothing can happen any more, by itself or through the user.
  void Run();

 private:
  void Wake();
  void ServeRounds();
  bool Serve();
  void Animate();
  void ScheduleWake();
  std::optional<std::int64_t> NextDueMs() const;
  bool NothingCanHappen() const;

  const platform::Clock& clock_;
  std::vector<host::EventSource*> sources_;
  std::function<void()> animate_;
  std::function<void()> on_quit_;
  QTimer wake_;
  bool may_serve_ = false;  // the player is yielding: events may be delivered now
  bool quit_ = false;
  int serve_depth_ = 0;  // ServeRounds calls running, nested
  host::RepeatingTimer timer_;
};

}  // namespace rirerazo::desktop
