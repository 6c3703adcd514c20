// The runner's sound card: it plays nothing, but knows from the simulated
// clock when the piece would have ended. The piece is judged by the same
// loader as the game's, so what the game cannot play cannot open here.
#pragma once

#include <cstdint>
#include <optional>

#include "platform/playback.h"

namespace kiravel {

class ClockPlayback : public Playback {
 public:
  explicit ClockPlayback(const std::int64_t& nowMs) : now_(nowMs) {}

  std::int32_t Load(const std::string& path, PieceLength* length) override;
  void Unload() override { Stop(); }
  void Start(std::int64_t frame) override;
  void Stop() override { endsAtMs_.reset(); }
  bool Sounding() override { return endsAtMs_ && now_ < *endsAtMs_; }

  // The moment the sounding piece reaches its end; nothing while it is still.
  std::optional<std::int64_t> EndsAtMs() const { return endsAtMs_; }

 private:
  const std::int64_t& now_;
  PieceLength piece_;
  std::optional<std::int64_t> endsAtMs_;
};

}  // namespace kiravel
