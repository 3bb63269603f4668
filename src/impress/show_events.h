// The events of one slide show on their way from the office's threads to the player's:
// the office reports what it shows (on its bridge threads), this queue decides what the
// player hears, and the player's thread takes the events one by one.
//
// Every slide shown raises one next-slide event, the first included. The first slide may
// be shown before our listener is attached, so the slide found right after attaching is
// reported too, and the office's own report of that same showing is dropped. A show ends
// once, however many ways its end is noticed.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <optional>

namespace rirerazo::impress {

struct ShowEvent {
  enum class Kind { kBegin, kNextSlide, kEnd };
  Kind kind = Kind::kBegin;
  std::int32_t slide_index = 0;  // 1-based, for kNextSlide
  bool end_show = false;         // kEnd: the show still has to be ended (it stopped at its end)
  bool operator==(const ShowEvent&) const = default;
};

class ShowEventQueue {
 public:
  // `waiting` is called, on the reporting thread, whenever an event is queued.
  void SetWaitingCallback(std::function<void()> waiting);

  // A new show starts: what was known of the last one is forgotten.
  void ShowStarted();
  // Our listener was attached; `index` is the slide shown at that moment (0: none yet).
  void ListenerAttached(std::int32_t index);
  // The office moved to slide `index` (1-based).
  void SlideShown(std::int32_t index);
  // The show passed its last slide and waits on its end screen.
  void PassedLastSlide();
  // The show is over (ended by the user, by us, or the office went away).
  void ShowEnded();

  std::optional<ShowEvent> Take();
  bool HasWaiting() const;
  bool Ended() const;

 private:
  void Push(ShowEvent event);  // with mutex_ held

  mutable std::mutex mutex_;
  std::function<void()> waiting_;
  std::deque<ShowEvent> events_;
  bool ended_ = true;                 // no show yet
  bool any_slide_ = false;            // a slide of this show was reported
  std::int32_t found_at_attach_ = 0;  // reported when attaching; its own report is dropped
};

}  // namespace rirerazo::impress
