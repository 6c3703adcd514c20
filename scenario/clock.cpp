#include "scenario/clock.h"

#include <algorithm>

namespace kiravel::run {

TimerClock::TimerClock(Fom& fom, ScriptedPlatform& platform) : platform_(platform) {
  for (const TimerBinding& binding : Timers()) {
    timers_.push_back(Tracked{&binding, &(fom.*binding.timer)});
  }
  for (Tracked& tracked : timers_) {
    tracked.timer->CountChanged = [this, &tracked](const Timer&) { CountFromNow(tracked); };
  }
}

TimerClock::~TimerClock() {
  for (Tracked& tracked : timers_) tracked.timer->CountChanged = nullptr;
}

void TimerClock::Start() {
  for (Tracked& tracked : timers_) CountFromNow(tracked);
}

void TimerClock::Ticked(const TimerBinding& timer) {
  for (Tracked& tracked : timers_) {
    if (tracked.binding == &timer) CountFromNow(tracked);
  }
}

std::optional<TimerClock::Due> TimerClock::NextDue(std::int64_t until) {
  std::optional<Due> first;
  for (Tracked& tracked : timers_) {
    if (!tracked.timer->Runs()) continue;
    if (tracked.binding->followsMusic) PassOverQuietTicks(tracked, until);
    if (tracked.due > until) continue;
    if (!first || tracked.due < first->at) first = Due{tracked.binding, tracked.due};
  }
  return first;
}

// The music timer's ticks before the piece stops would only ask the device
// its mode and hear "playing" (or nothing, with no piece open): they are
// skipped up to the tick at or after that moment, but never past another
// timer's tick, whose handler might change the music.
void TimerClock::PassOverQuietTicks(Tracked& music, std::int64_t until) {
  std::int64_t quietUntil = until + 1;
  for (const Tracked& other : timers_) {
    if (&other != &music && other.timer->Runs()) quietUntil = std::min(quietUntil, other.due);
  }
  if (std::optional<std::int64_t> stopped = platform_.MusicStoppedFromMs())
    quietUntil = std::min(quietUntil, *stopped);
  if (quietUntil <= music.due) return;
  const std::int64_t interval = music.timer->Interval();
  music.due += (quietUntil - music.due + interval - 1) / interval * interval;
}

void TimerClock::CountFromNow(Tracked& tracked) { tracked.due = Now() + tracked.timer->Interval(); }

}  // namespace kiravel::run
