// A wave file judged by SDL's own loader, the one that plays the music: what
// it accepts is what the game can play (PCM of 8 to 32 bits, 32-bit float,
// WAVE_FORMAT_EXTENSIBLE, A-law and µ-law, ADPCM). No sound card is needed.
//
// The loader sees the file's chunks up to its samples and no more than the
// first of them. Samples it hands back as they lie in the file (PCM of 8, 16
// or 32 bits, float) are then read from the file while they play, so the
// piece is never held in memory; any other kind it decodes whole.
#pragma once

#include <SDL.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>

namespace kiravel {

struct WaveFile {
  // 0, or why the game cannot play it: kFileNotFound when it is missing or
  // no regular file, kInvalidFile when it holds no music (mci_codes.h).
  std::int32_t Result = 0;
  std::string Problem;  // in words, for the data checker; "" when it plays
  SDL_AudioSpec Format{};
  std::uint32_t Bytes = 0;  // of samples, as the sound card takes them

  std::uint32_t FrameBytes() const;
  std::int64_t Frames() const { return Bytes / FrameBytes(); }
  // Copies the samples from byte `at` on into `into`, up to `count` bytes;
  // returns how many it copied (fewer past the end, or when the file can no
  // longer be read).
  std::size_t Read(std::size_t at, Uint8* into, std::size_t count) const;

  struct CloseFile {
    void operator()(std::FILE* file) const { std::fclose(file); }
  };
  struct FreeSamples {
    void operator()(Uint8* samples) const { SDL_FreeWAV(samples); }
  };
  // Where the samples come from: the file from byte SamplesAt on, or what
  // SDL decoded.
  std::unique_ptr<std::FILE, CloseFile> File;
  std::int64_t SamplesAt = 0;
  std::unique_ptr<Uint8, FreeSamples> Decoded;
};

WaveFile ReadWaveFile(const std::string& path);

}  // namespace kiravel
