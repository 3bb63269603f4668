#include "desktop/host/desktop_loop.h"

#include <QCoreApplication>
#include <algorithm>

#include "os/wall_clock.h"

namespace rirerazo::desktop {
namespace {

// A handler that keeps queuing work due at once must not hold one DoEvents for ever.
constexpr int kMaxRoundsPerYield = 10'000;
// While the player sleeps, the characters are redrawn at least this often.
constexpr std::int64_t kSleepSliceMs = 15;
// The wake timer never waits longer, so nothing stalls on a far-off due time.
constexpr std::int64_t kMaxWaitMs = 60'000;
// Serving nested inside serving (through message boxes and yields) goes no deeper.
constexpr int kMaxServeDepth = 100;

// Sets a flag for the life of the guard and puts the old value back afterwards.
class FlagScope {
 public:
  FlagScope(bool& flag, bool value) : flag_(flag), old_(flag) { flag_ = value; }
  ~FlagScope() { flag_ = old_; }
  FlagScope(const FlagScope&) = delete;
  FlagScope& operator=(const FlagScope&) = delete;

 private:
  bool& flag_;
  bool old_;
};

}  // namespace

DesktopLoop::DesktopLoop(const platform::Clock& clock) : clock_(clock) {
  wake_.setSingleShot(true);
  wake_.setTimerType(Qt::PreciseTimer);
  connect(&wake_, &QTimer::timeout, this, &DesktopLoop::Wake);
}

void DesktopLoop::DoEvents() {
  FlagScope yielding(may_serve_, true);
  QCoreApplication::processEvents();
  ServeRounds();
  Animate();
  ScheduleWake();
}

// The player is blocked: nothing is delivered, but the characters go on moving and the
// windows are redrawn.
void DesktopLoop::Sleep(std::int64_t duration_ms) {
  FlagScope blocked(may_serve_, false);
  const std::int64_t until_ms = clock_.NowMs() + std::max<std::int64_t>(duration_ms, 0);
  for (std::int64_t now = clock_.NowMs(); now < until_ms; now = clock_.NowMs()) {
    os::SleepForMs(std::min(until_ms - now, kSleepSliceMs));
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    Animate();
  }
}

void DesktopLoop::StartTimer(std::int64_t interval_ms, std::function<void()> tick) {
  timer_.Start(clock_.NowMs(), interval_ms, std::move(tick));
  ScheduleWake();
}

void DesktopLoop::StopTimer() {
  timer_.Stop();
}

void DesktopLoop::Quit() {
  if (quit_) return;
  quit_ = true;
  wake_.stop();
  if (on_quit_) on_quit_();
}

void DesktopLoop::Run() {
  FlagScope yielding(may_serve_, true);
  while (!quit_) {
    ServeRounds();
    Animate();
    if (quit_ || NothingCanHappen()) {
      wake_.stop();
      return;
    }
    ScheduleWake();
    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
  }
}

// The wake timer: a full serve when the player is yielding, otherwise only animation.
void DesktopLoop::Wake() {
  if (quit_) return;
  if (may_serve_) ServeRounds();
  Animate();
  ScheduleWake();
}

// A handler may open a message box and wait in its loop; the wake timer is armed first so
// that what falls due meanwhile (the characters' frames, events, the timer) is still served
// from inside the box. After the rounds the callers set the timer to the real due time.
// Serving nested that deep (scripts whose error boxes keep opening boxes inside boxes)
// waits until the stack unwinds, so it cannot overflow.
void DesktopLoop::ServeRounds() {
  if (serve_depth_ >= kMaxServeDepth) return;
  ++serve_depth_;
  wake_.start(int(kSleepSliceMs));
  for (int round = 0; round < kMaxRoundsPerYield && !quit_; ++round) {
    if (!Serve()) break;
  }
  --serve_depth_;
}

// One pass over the timer and the sources at the current time; true when the player was
// told something. The timer goes first: events that keep coming (a script feeding itself)
// must not hold off the shutdown's tick.
bool DesktopLoop::Serve() {
  const std::int64_t now = clock_.NowMs();
  bool served = timer_.Serve(now);
  for (host::EventSource* source : sources_) {
    if (quit_) return served;
    const std::optional<std::int64_t> due = source->NextDueMs();
    if (due && *due <= now) served = source->Serve(now) || served;
  }
  return served;
}

void DesktopLoop::Animate() {
  if (animate_) animate_();
}

void DesktopLoop::ScheduleWake() {
  if (quit_) return;
  const std::optional<std::int64_t> due = NextDueMs();
  if (!due) {
    wake_.stop();
    return;
  }
  const std::int64_t wait_ms = std::clamp<std::int64_t>(*due - clock_.NowMs(), 0, kMaxWaitMs);
  wake_.start(int(wait_ms));
}

std::optional<std::int64_t> DesktopLoop::NextDueMs() const {
  std::optional<std::int64_t> earliest = timer_.DueMs();
  for (const host::EventSource* source : sources_) {
    const std::optional<std::int64_t> due = source->NextDueMs();
    if (due && (!earliest || *due < *earliest)) earliest = due;
  }
  return earliest;
}

// Nothing is due, nothing will happen by itself and nobody is offered anything.
bool DesktopLoop::NothingCanHappen() const {
  if (timer_.Enabled()) return false;
  return std::none_of(sources_.begin(), sources_.end(), [](const host::EventSource* s) {
    return s->HasPendingWork() || s->AwaitsUserInput();
  });
}

}  // namespace rirerazo::desktop
