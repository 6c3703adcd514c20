// The simulated clock and the window's timers on it. A timer falls due every
// Interval ms, counted from the moment it was last switched on or given a new
// interval (the moments Timer::Restarts() counts), or from its last tick.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "core/fom.h"
#include "platform/scripted_platform.h"
#include "ui/handlers.h"

namespace kiravel::run {

class TimerClock {
 public:
  // The clock is the platform's, so the simulated music device hears it.
  TimerClock(Fom& fom, ScriptedPlatform& platform);

  std::int64_t Now() const { return platform_.NowMs; }
  void AdvanceTo(std::int64_t ms) { platform_.NowMs = ms; }

  // Counts every running timer from now, as the window does when it opens.
  void Start();
  // After each event the game handled: a timer the handler switched on or
  // gave a new interval counts afresh from now.
  void NoteRestarts();
  // After a tick of the timer: its next one is an interval away.
  void Ticked(const TimerBinding& timer);

  struct Due {
    const TimerBinding* timer;
    std::int64_t at;
  };
  // The first tick due no later than `until`: the earliest, and among ticks
  // due together the timer listed first. Timers the game has no handler for
  // and timers whose interval is 0 never fall due.
  std::optional<Due> NextDue(std::int64_t until) const;

 private:
  struct Tracked {
    const TimerBinding* binding;
    const Timer* timer;
    std::uint64_t restarts = 0;
    bool enabled = false;
    std::int32_t interval = 0;
    std::int64_t due = 0;
  };
  void CountFromNow(Tracked& tracked);

  ScriptedPlatform& platform_;
  std::vector<Tracked> timers_;
};

}  // namespace kiravel::run
