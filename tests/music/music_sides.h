// The music device over each of its two playbacks, as the typed tests drive
// them: the runner's simulated clock and the game's SDL sound card.
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <mutex>
#include <string>

#include "platform/clock_playback.h"
#include "platform/mci_device.h"
#include "platform/sdl_playback.h"

namespace kiravel::testing {

struct ClockSide {
  std::int64_t nowMs = 0;
  ClockPlayback playback{nowMs};
  MciDevice device{playback};

  // Lets the started piece play to its end.
  bool PlayToEnd() {
    if (!playback.EndsAtMs()) return false;
    nowMs = *playback.EndsAtMs();
    return true;
  }
};

// SDL's silent driver paces the piece as a sound card would; the end is
// waited for through the playback's own report, never by the clock.
struct SdlSide {
  explicit SdlSide(const char* driver = "dummy") { ::setenv("SDL_AUDIODRIVER", driver, 1); }

  static void Ended(void* self) {
    auto& side = *static_cast<SdlSide*>(self);
    std::lock_guard lock(side.mutex);
    side.ended = true;
    side.endReport.notify_all();
  }

  bool PlayToEnd() {
    std::unique_lock lock(mutex);
    // Bounded so that a piece that never ends fails the test, not hangs it.
    bool done = endReport.wait_for(lock, std::chrono::seconds(20), [this] { return ended; });
    ended = false;
    return done;
  }

  std::mutex mutex;
  std::condition_variable endReport;
  bool ended = false;
  std::unique_ptr<Playback> playback = MakeSdlPlayback(&Ended, this);
  MciDevice device{*playback};
};

}  // namespace kiravel::testing
