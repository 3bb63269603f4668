// The two-step shutdown that every way of ending a script goes through. The first call of
// tmrShutDown_Timer stops the characters and hides those no other program uses; the next
// call (normally the timer's first tick, 5000 ms later, which leaves the characters time
// to play their hide animations) unloads the main form.
//
// The decisions are pure functions (tested as a matrix); tmrShutDown_Timer and
// StartShutdown carry out what they decide.
#pragma once

#include <cstdint>

namespace rirerazo {

class Player;

inline constexpr std::int64_t kShutdownIntervalMs = 5000;

// Who called into the shutdown: a start (the tray's Close item, the close command, the end
// of a script that offers nothing more) calls the timer procedure directly and then enables
// the timer; a tick is the timer itself.
enum class ShutdownTrigger { kStart, kTimerTick };

struct ShutdownDecision {
  std::int16_t close_ticks = 0;  // the new value of FormState::close_ticks
  bool stop_characters = false;  // the first call: stop and hide the characters
  bool unload = false;           // any later call: unload the main form
  bool enable_timer = false;     // start the timer (never restarts a running one)
};

// One call into the shutdown with the tick count at `close_ticks`. The count stays at its
// largest value instead of overflowing.
ShutdownDecision DecideShutdown(std::int16_t close_ticks, bool timer_enabled,
                                ShutdownTrigger trigger);

// What the first call does with one character.
enum class CharacterAtShutdown { kLeave, kHide, kShowAgain };

// A visible character that no other program uses is hidden; a hidden one that another
// program uses is shown again, so that program finds it as it was; the rest stay as they are.
CharacterAtShutdown DecideCharacterAtShutdown(bool visible, bool has_other_clients);

// The timer procedure (the timer's tick, and called directly to start the shutdown).
void tmrShutDown_Timer(Player& player);

// Starts the shutdown: tmrShutDown_Timer at once, then the timer enabled. A second start
// before the timer fires ends the program at once.
void StartShutdown(Player& player);

// The tray menu's "&Close" item.
void mnuCloseScript_Click(Player& player);

}  // namespace rirerazo
