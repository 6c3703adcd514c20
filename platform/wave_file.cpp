#include "platform/wave_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>

#include "platform/mci_codes.h"

namespace kiravel {

namespace {

// The file, opened without waiting (a pipe under the name would hold the
// reader for ever) and only when it is a regular file; otherwise null, with
// why in *problem.
SDL_RWops* OpenRegular(const std::string& path, std::string* problem) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) {
    *problem = errno == ENOENT ? "missing" : std::string("unreadable (") + std::strerror(errno) + ")";
    return nullptr;
  }
  struct stat info {};
  FILE* file = nullptr;
  if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode)) file = ::fdopen(fd, "rb");
  if (file == nullptr) {
    *problem = "not a regular file";
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
