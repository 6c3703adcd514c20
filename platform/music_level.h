// How loud the music sounds, set by the window and read by the sound card
// at every buffer it fills: muted, or a volume from 0 to 100 percent. The
// piece plays on at its own pace either way, so the game hears the same
// answers to its commands whatever the player chose.
#pragma once

#include <atomic>

namespace kiravel {

struct MusicLevel {
  std::atomic<bool> muted{false};
  std::atomic<int> percent{100};
};

}  // namespace kiravel
