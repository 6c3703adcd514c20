// The game's timers as Qt timers. Each game timer tells its Qt timer when
// its countdown starts afresh (switched on, or given a new interval) or
// stops, so nothing has to look for changes after every event.
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
  // The Qt timers start at once for the game timers already running.
  ModelTimers(Fom& fom, Tick tick, QObject* owner);
  ~ModelTimers();
  ModelTimers(const ModelTimers&) = delete;
  ModelTimers& operator=(const ModelTimers&) = delete;

  // Stops every Qt timer for good: the window has closed.
  void StopAll();
  // The Qt timer that stands for the game's timer; null for a timer that is
  // not one of the window's.
  const QTimer* QtTimer(const Timer& timer) const;
  // The game's timer runs factor times slower in the window than the game
  // asks; the ticks the game gets are the same ones.
  void Stretch(const Timer& timer, int factor);

  // Intervals below this are run at it, as the window system's clock does
  // anyway.
  static constexpr int kFinestIntervalMs = 20;
  // The music timer is run when the music device reports the end of the
  // piece; this slow tick only makes sure a missed report costs at most a
  // second of silence.
  static constexpr int kMusicSafetyIntervalMs = 1000;

 private:
  struct Tracked {
    const TimerBinding* binding;
    Timer* timer;
    QTimer* qt;
    int stretch = 1;
  };
  static void CountFromNow(const Tracked& tracked);

  std::vector<Tracked> timers_;
};

}  // namespace kiravel::qt
