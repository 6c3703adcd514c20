#include "platform/wave_file.h"

#include <unistd.h>

#include <algorithm>
#include <cstdio>

#include "platform/mci_codes.h"
#include "platform/regular_file.h"

namespace kiravel {

namespace {

// The file, opened by the one rule for data files: never waiting on a pipe,
// and only when it is a regular file; otherwise null, with why in *problem.
SDL_RWops* OpenRegular(const std::string& path, std::string* problem) {
  FileReadError error = FileReadError::None;
  std::string reason;
  const int fd = OpenRegularFile(path, &error, &reason);
  if (fd < 0) {
    *problem = error == FileReadError::Missing      ? std::string("missing")
               : error == FileReadError::NotRegular ? std::string("not a regular file")
                                                    : "unreadable (" + reason + ")";
    return nullptr;
  }
  FILE* file = ::fdopen(fd, "rb");
  if (file == nullptr) {
    *problem = "unreadable";
    ::close(fd);
    return nullptr;
  }
  SDL_RWops* stream = SDL_RWFromFP(file, SDL_TRUE);
  if (stream == nullptr) {
    *problem = "unreadable";
    std::fclose(file);
  }
  return stream;
}

}  // namespace

std::uint32_t WaveFile::FrameBytes() const {
  return std::max<std::uint32_t>(1, SDL_AUDIO_BITSIZE(Format.format) / 8 * Format.channels);
}

WaveFile ReadWaveFile(const std::string& path) {
  WaveFile wave;
  SDL_RWops* file = OpenRegular(path, &wave.Problem);
  if (file == nullptr) {
    wave.Result = mci::kFileNotFound;
    return wave;
  }
  Uint8* samples = nullptr;
  if (SDL_LoadWAV_RW(file, 1, &wave.Format, &samples, &wave.Bytes) == nullptr) {
    wave.Result = mci::kInvalidFile;
    wave.Problem = std::string("not a wave the game can play (") + SDL_GetError() + ")";
    return wave;
  }
  wave.Samples.reset(samples);
  if (wave.Frames() == 0) {
    wave.Result = mci::kInvalidFile;
    wave.Problem = "it holds no samples";
  }
  return wave;
}

}  // namespace kiravel
