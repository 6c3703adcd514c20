// What sounds the one piece the music device holds: the sound card through
// SDL in the game, the simulated clock in the runner. The music device
// decides what every command means; a playback only loads the piece, starts
// and stops it, and says whether it still sounds.
#pragma once

#include <cstdint>
#include <string>

namespace kiravel {

struct PieceLength {
  std::int64_t Frames = 0;  // one sample of every channel
  std::int32_t Rate = 0;    // frames a second
};

class Playback {
 public:
  virtual ~Playback() = default;
  // Loads the wave file and readies it to sound from its first frame.
  // Returns 0, or the result code of the open (mci_codes.h); a piece without
  // a single frame is no music and is refused as an invalid file.
  virtual std::int32_t Load(const std::string& path, PieceLength* length) = 0;
  virtual void Unload() = 0;
  // Sounds the loaded piece from that frame (below its length) on.
  virtual void Start(std::int64_t frame) = 0;
  virtual void Stop() = 0;
  // False once a started piece has sounded its last frame, or after Stop.
  virtual bool Sounding() = 0;
};

}  // namespace kiravel
