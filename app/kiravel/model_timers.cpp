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
  // The list is complete: its entries stay where they are.
  for (const Tracked& tracked : timers_) {
    tracked.timer->CountChanged = [&tracked](const Timer&) { CountFromNow(tracked); };
    CountFromNow(tracked);
  }
}

ModelTimers::~ModelTimers() {
  for (const Tracked& tracked : timers_) tracked.timer->CountChanged = nullptr;
}

void ModelTimers::StopAll() {
  for (const Tracked& tracked : timers_) {
    tracked.timer->CountChanged = nullptr;
    tracked.qt->stop();
  }
}

const QTimer* ModelTimers::QtTimer(const Timer& timer) const {
  auto found = std::find_if(timers_.begin(), timers_.end(),
                            [&](const Tracked& tracked) { return tracked.timer == &timer; });
  return found == timers_.end() ? nullptr : found->qt;
}

void ModelTimers::Stretch(const Timer& timer, int factor) {
  for (Tracked& tracked : timers_) {
    if (tracked.timer != &timer || tracked.stretch == factor) continue;
    tracked.stretch = factor;
    if (tracked.qt->isActive()) CountFromNow(tracked);
  }
}

void ModelTimers::CountFromNow(const Tracked& tracked) {
  const Timer& timer = *tracked.timer;
  if (!timer.Runs()) {
    tracked.qt->stop();
    return;
  }
  const int interval = tracked.binding->followsMusic ? kMusicSafetyIntervalMs
                                                     : std::max(timer.Interval(), kFinestIntervalMs);
  tracked.qt->start(interval * tracked.stretch);
}

}  // namespace kiravel::qt
