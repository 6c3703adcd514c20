// The game's timers as Qt timers. After every event the window asks them to
// follow what the game did: a timer switched on or given a new interval
// counts afresh from that moment, one switched off stops.
#pragma once

#include <QObject>
#include <QTimer>

#include <cstdint>
#include <functional>
#include <vector>

#include "core/fom.h"
#include "ui/handlers.h"

namespace kiravel::qt {

class ModelTimers {
 public:
  using Tick = std::function<void(const TimerBinding& timer)>;
  ModelTimers(Fom& fom, Tick tick, QObject* owner);

  void Follow();
  void StopAll();
  // The Qt timer that stands for the game's timer; null for a timer that is
  // not one of the window's.
  const QTimer* QtTimer(const Timer& timer) const;

  // Intervals below this are run at it, as the window system's clock does
  // anyway; the music's 1 ms check costs no measurable time then.
  static constexpr int kFinestIntervalMs = 20;

 private:
  struct Tracked {
    const TimerBinding* binding;
    const Timer* timer;
    QTimer* qt;
    bool seen = false;
    std::uint64_t restarts = 0;
    bool enabled = false;
    std::int32_t interval = 0;
  };
  void CountFromNow(Tracked& tracked);

  std::vector<Tracked> timers_;
};

}  // namespace kiravel::qt
