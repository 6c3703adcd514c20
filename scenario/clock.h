// The simulated clock and the window's timers on it. A timer falls due every
// Interval ms, counted from the moment it was last switched on or given a new
// interval (the timer tells the clock), or from its last tick.
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
  ~TimerClock();
  TimerClock(const TimerClock&) = delete;
  TimerClock& operator=(const TimerClock&) = delete;

  std::int64_t Now() const { return platform_.NowMs; }
  void AdvanceTo(std::int64_t ms) { platform_.NowMs = ms; }

  // Counts every running timer from now, as the window does when it opens.
  void Start();
  // After a tick of the timer: its next one is an interval away.
  void Ticked(const TimerBinding& timer);

  struct Due {
    const TimerBinding* timer;
    std::int64_t at;
  };
  // The first tick due no later than `until` that can change anything: the
  // earliest, and among ticks due together the timer listed first. Timers
  // whose interval is 0 never fall due. The music timer's ticks that come
  // while the piece still plays find nothing to do and are passed over.
  std::optional<Due> NextDue(std::int64_t until);

 private:
  struct Tracked {
    const TimerBinding* binding;
    Timer* timer;
    std::int64_t due = 0;
  };
  void CountFromNow(Tracked& tracked);
  void PassOverQuietTicks(Tracked& music, std::int64_t until);

  ScriptedPlatform& platform_;
  std::vector<Tracked> timers_;
};

}  // namespace kiravel::run
