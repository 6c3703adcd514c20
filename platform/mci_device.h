// The music device the game talks to with command strings: one piece at a
// time under its alias, played, stopped at its end, sought back to its start
// and asked for its mode. The same device runs over either playback, so the
// game and the runner give the same answer to every command.
#pragma once

#include <cstdint>
#include <string>

#include "platform/mci_command.h"
#include "platform/playback.h"

namespace kiravel {

class MciDevice {
 public:
  explicit MciDevice(Playback& playback) : playback_(playback) {}
  MciDevice(const MciDevice&) = delete;
  MciDevice& operator=(const MciDevice&) = delete;

  // Carries out one command string; "status" writes the mode, "playing" or
  // "stopped", into *reply. Returns 0 or the result code (mci_codes.h).
  std::int32_t Send(const std::string& text, std::string* reply);

  // Whether a piece is open, and whether it is playing now.
  bool Opened() const { return !alias_.empty(); }
  bool Playing();

 private:
  std::int32_t Load(const MciCommand& open);
  std::int32_t Play(const MciCommand& play);
  void PlayFrom(std::int64_t frame);

  Playback& playback_;
  std::string alias_;  // empty while nothing is open
  PieceLength piece_;
  // Where a plain "play" starts: the beginning after an open or a seek, the
  // end once the piece has played to it.
  std::int64_t next_ = 0;
  bool playing_ = false;
};

}  // namespace kiravel
