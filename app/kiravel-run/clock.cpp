#include "app/kiravel-run/clock.h"

namespace kiravel::run {

TimerClock::TimerClock(Fom& fom, ScriptedPlatform& platform) : platform_(platform) {
  for (const TimerBinding& binding : Timers()) {
    timers_.push_back(Tracked{&binding, &(fom.*binding.timer)});
  }
}

void TimerClock::Start() {
  for (Tracked& tracked : timers_) CountFromNow(tracked);
}

void TimerClock::NoteRestarts() {
  for (Tracked& tracked : timers_) {
    const Timer& timer = *tracked.timer;
    // A timer switched on by a plain assignment of Enabled leaves no count,
    // so the flag itself is watched too.
    bool restarted = timer.Restarts() != tracked.restarts || (timer.Enabled && !tracked.enabled) ||
                     timer.Interval() != tracked.interval;
    if (restarted) {
      CountFromNow(tracked);
    } else {
      tracked.enabled = timer.Enabled;
    }
  }
}

void TimerClock::Ticked(const TimerBinding& timer) {
  for (Tracked& tracked : timers_) {
    if (tracked.binding == &timer) CountFromNow(tracked);
  }
}

std::optional<TimerClock::Due> TimerClock::NextDue(std::int64_t until) const {
  std::optional<Due> first;
  for (const Tracked& tracked : timers_) {
    if (!tracked.timer->Enabled || tracked.timer->Interval() <= 0) continue;
    if (tracked.due > until) continue;
    if (!first || tracked.due < first->at) first = Due{tracked.binding, tracked.due};
  }
  return first;
}

void TimerClock::CountFromNow(Tracked& tracked) {
  tracked.restarts = tracked.timer->Restarts();
  tracked.enabled = tracked.timer->Enabled;
  tracked.interval = tracked.timer->Interval();
  tracked.due = Now() + tracked.interval;
}

}  // namespace kiravel::run
