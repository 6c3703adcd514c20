// A wave file read by SDL's own loader, the one that plays the music: what
// it accepts is what the game can play (PCM of 8 to 32 bits, 32-bit float,
// WAVE_FORMAT_EXTENSIBLE, A-law and µ-law, ADPCM). No sound card is needed.
#pragma once

#include <SDL.h>

#include <cstdint>
#include <memory>
#include <string>

namespace kiravel {

struct WaveFile {
  struct FreeSamples {
    void operator()(Uint8* samples) const { SDL_FreeWAV(samples); }
  };
  // 0, or why the game cannot play it: kFileNotFound when it is missing or
  // no regular file, kInvalidFile when it holds no music (mci_codes.h).
  std::int32_t Result = 0;
  std::string Problem;  // in words, for the data checker; "" when it plays
  SDL_AudioSpec Format{};
  std::unique_ptr<Uint8, FreeSamples> Samples;
  std::uint32_t Bytes = 0;

  std::uint32_t FrameBytes() const;
  std::int64_t Frames() const { return Bytes / FrameBytes(); }
};

WaveFile ReadWaveFile(const std::string& path);

}  // namespace kiravel
