#include "app/kiravel/model_timers.h"

#include <algorithm>

namespace kiravel::qt {

ModelTimers::ModelTimers(Fom& fom, Tick tick, QObject* owner) {
  for (const TimerBinding& binding : Timers()) {
    auto* qt = new QTimer(owner);
    qt->setTimerType(Qt::CoarseTimer);
    QObject::connect(qt, &QTimer::timeout, owner, [tick, &binding] { tick(binding); });
    timers_.push_back(Tracked{&binding, &(fom.*binding.timer), qt});
  }
}

void ModelTimers::Follow() {
  for (Tracked& tracked : timers_) {
    const Timer& timer = *tracked.timer;
    // A timer switched on by a plain assignment of Enabled leaves no count,
    // so the flag itself is watched too.
    bool restarted = !tracked.seen || timer.Restarts() != tracked.restarts ||
                     (timer.Enabled && !tracked.enabled) || timer.Interval() != tracked.interval;
    if (restarted) {
      CountFromNow(tracked);
    } else if (!timer.Enabled && tracked.enabled) {
      tracked.qt->stop();
      tracked.enabled = false;
    }
  }
}

void ModelTimers::StopAll() {
  for (Tracked& tracked : timers_) tracked.qt->stop();
}

const QTimer* ModelTimers::QtTimer(const Timer& timer) const {
  auto found = std::find_if(timers_.begin(), timers_.end(),
                            [&](const Tracked& tracked) { return tracked.timer == &timer; });
  return found == timers_.end() ? nullptr : found->qt;
}

void ModelTimers::CountFromNow(Tracked& tracked) {
  const Timer& timer = *tracked.timer;
  tracked.seen = true;
  tracked.restarts = timer.Restarts();
  tracked.enabled = timer.Enabled;
  tracked.interval = timer.Interval();
  if (!timer.Enabled || timer.Interval() <= 0) {
    tracked.qt->stop();
    return;
  }
  tracked.qt->start(std::max(timer.Interval(), kFinestIntervalMs));
}

}  // namespace kiravel::qt
