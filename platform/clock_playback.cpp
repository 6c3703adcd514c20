#include "platform/clock_playback.h"

#include "platform/wave_file.h"

namespace kiravel {

std::int32_t ClockPlayback::Load(const std::string& path, PieceLength* length) {
  const WaveFile wave = ReadWaveFile(path);
  if (wave.Result != 0) return wave.Result;
  piece_ = PieceLength{wave.Frames(), wave.Format.freq};
  *length = piece_;
  return 0;
}

// The last frame has sounded once the whole millisecond it falls in has
// passed, so even the shortest piece lasts a tick of the music timer.
void ClockPlayback::Start(std::int64_t frame) {
  const std::int64_t frames = piece_.Frames - frame;
  endsAtMs_ = now_ + (frames * 1000 + piece_.Rate - 1) / piece_.Rate;
}

}  // namespace kiravel
