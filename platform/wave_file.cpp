#include "platform/wave_file.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "platform/mci_codes.h"
#include "platform/regular_file.h"

namespace kiravel {

namespace {

// What the loader is shown of the samples to tell whether it hands them
// back as they lie in the file.
constexpr std::int64_t kTrialBytes = 4096;

// The file, opened by the one rule for data files: never waiting on a pipe,
// and only when it is a regular file; otherwise null, with why in *problem.
std::FILE* OpenRegular(const std::string& path, std::string* problem) {
  FileReadError error = FileReadError::None;
  std::string reason;
  const int fd = OpenRegularFile(path, &error, &reason);
  if (fd < 0) {
    *problem = error == FileReadError::Missing      ? std::string("missing")
               : error == FileReadError::NotRegular ? std::string("not a regular file")
                                                    : "unreadable (" + reason + ")";
    return nullptr;
  }
  std::FILE* file = ::fdopen(fd, "rb");
  if (file == nullptr) {
    *problem = "unreadable";
    ::close(fd);
  }
  return file;
}

// Reads up to `count` bytes from byte `at` of the file; returns how many
// there were.
std::size_t ReadAt(std::FILE* file, std::int64_t at, void* into, std::size_t count) {
  std::size_t done = 0;
  while (done < count) {
    const ssize_t got = ::pread(::fileno(file), static_cast<char*>(into) + done, count - done,
                                static_cast<off_t>(at + done));
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) break;
    done += static_cast<std::size_t>(got);
  }
  return done;
}

std::uint32_t LittleEndian(const unsigned char* bytes) {
  return bytes[0] | bytes[1] << 8 | bytes[2] << 16 | static_cast<std::uint32_t>(bytes[3]) << 24;
}

// The data chunk: where its samples start, and how many of the bytes it
// claims the file holds. At -1 when the file has none.
struct Samples {
  std::int64_t At = -1;
  std::int64_t Bytes = 0;
};

// Where a wave's first chunk starts: after "RIFF", its size and "WAVE", or
// after a bare "WAVE" for a file that has lost its RIFF header, which the
// loader plays all the same. At -1 when the file starts as neither.
std::int64_t FirstChunk(std::FILE* file) {
  unsigned char head[12];
  const std::size_t got = ReadAt(file, 0, head, sizeof head);
  if (got >= 4 && std::memcmp(head, "WAVE", 4) == 0) return 4;
  if (got == 12 && std::memcmp(head, "RIFF", 4) == 0 && std::memcmp(head + 8, "WAVE", 4) == 0)
    return 12;
  return -1;
}

// Walks a wave's chunks as SDL's loader does, up to its format and its
// samples. The samples' chunk may claim more than the file holds (a wave cut
// short plays as far as it goes); any other chunk that does leaves the wave
// broken, and *broken says so.
Samples FindSamples(std::FILE* file, std::int64_t size, std::string* broken) {
  const std::int64_t first = FirstChunk(file);
  if (first < 0) return {};
  Samples samples;
  bool format = false;
  for (std::int64_t at = first; at + 8 <= size && !(format && samples.At >= 0);) {
    unsigned char chunk[8];
    if (ReadAt(file, at, chunk, 8) != 8) break;
    const std::int64_t claimed = LittleEndian(chunk + 4);
    const std::int64_t held = size - at - 8;
    if (std::memcmp(chunk, "data", 4) == 0) {
      if (samples.At < 0) samples = {at + 8, std::min(claimed, held)};
    } else if (claimed > held) {
      *broken = "a chunk claims more bytes than the file holds";
      return {};
    } else {
      format = format || std::memcmp(chunk, "fmt ", 4) == 0;
    }
    at += 8 + claimed + (claimed & 1);
  }
  return samples;
}

// SDL's loader over the stream, which it closes.
void Load(SDL_RWops* stream, WaveFile& wave) {
  Uint8* samples = nullptr;
  Uint32 bytes = 0;
  if (SDL_LoadWAV_RW(stream, 1, &wave.Format, &samples, &bytes) == nullptr) {
    wave.Result = mci::kInvalidFile;
    wave.Problem = std::string("not a wave the game can play (") + SDL_GetError() + ")";
    return;
  }
  wave.Decoded.reset(samples);
  wave.Bytes = bytes;
}

// The file's bytes up to its samples and the first `count` of them, the data
// chunk claiming just those; empty when the file no longer reads so.
std::string HeadAndSamples(std::FILE* file, Samples samples, std::int64_t count) {
  std::string bytes(static_cast<std::size_t>(samples.At + count), '\0');
  if (ReadAt(file, 0, bytes.data(), bytes.size()) != bytes.size()) return {};
  const auto claim = static_cast<std::uint32_t>(count);
  for (int i = 0; i < 4; ++i) bytes[samples.At - 4 + i] = static_cast<char>(claim >> (8 * i));
  return bytes;
}

// SDL's loader over the file's head and the first `count` samples.
void LoadSamples(Samples samples, std::int64_t count, WaveFile& wave) {
  const std::string bytes = HeadAndSamples(wave.File.get(), samples, count);
  if (bytes.empty()) {
    wave.Result = mci::kInvalidFile;
    wave.Problem = "unreadable";
    return;
  }
  Load(SDL_RWFromConstMem(bytes.data(), static_cast<int>(bytes.size())), wave);
}

// Whether the loader handed back the first `tried` bytes of samples as they
// lie in the file, cut to whole frames.
bool LoadedAsTheyLie(const WaveFile& wave, Samples samples, std::int64_t tried) {
  if (wave.Bytes != tried - tried % wave.FrameBytes()) return false;
  std::string lying(wave.Bytes, '\0');
  return lying.empty() ||
         (ReadAt(wave.File.get(), samples.At, lying.data(), lying.size()) == lying.size() &&
          std::memcmp(lying.data(), wave.Decoded.get(), lying.size()) == 0);
}

// Judges the samples the file holds by the loader's reading of the first of
// them: read from the file while they play when the loader leaves them as
// they are, decoded whole otherwise.
void LoadFoundSamples(Samples samples, WaveFile& wave) {
  const std::int64_t tried = std::min(samples.Bytes, kTrialBytes);
  LoadSamples(samples, tried, wave);
  if (wave.Result != mci::kOk) return;
  if (LoadedAsTheyLie(wave, samples, tried)) {
    wave.Decoded.reset();
    wave.SamplesAt = samples.At;
    wave.Bytes = static_cast<std::uint32_t>(samples.Bytes - samples.Bytes % wave.FrameBytes());
  } else if (tried < samples.Bytes) {
    LoadSamples(samples, samples.Bytes, wave);
  }
}

}  // namespace

std::uint32_t WaveFile::FrameBytes() const {
  return std::max<std::uint32_t>(1, SDL_AUDIO_BITSIZE(Format.format) / 8 * Format.channels);
}

std::size_t WaveFile::Read(std::size_t at, Uint8* into, std::size_t count) const {
  if (at >= Bytes) return 0;
  count = std::min<std::size_t>(count, Bytes - at);
  if (Decoded) {
    std::memcpy(into, Decoded.get() + at, count);
    return count;
  }
  return File ? ReadAt(File.get(), SamplesAt + static_cast<std::int64_t>(at), into, count) : 0;
}

WaveFile ReadWaveFile(const std::string& path) {
  WaveFile wave;
  wave.File.reset(OpenRegular(path, &wave.Problem));
  if (!wave.File) {
    wave.Result = mci::kFileNotFound;
    return wave;
  }
  struct stat status {};
  if (::fstat(::fileno(wave.File.get()), &status) != 0) {
    wave.Result = mci::kFileNotFound;
    wave.Problem = "unreadable";
    return wave;
  }
  std::string broken;
  const Samples samples = FindSamples(wave.File.get(), status.st_size, &broken);
  if (!broken.empty()) {
    wave.Result = mci::kInvalidFile;
    wave.Problem = "not a wave the game can play (" + broken + ")";
  } else if (samples.At >= 0) {
    LoadFoundSamples(samples, wave);
  } else {
    // No samples anywhere: the loader says in its own words what is wrong.
    Load(SDL_RWFromFP(wave.File.get(), SDL_FALSE), wave);
  }
  if (wave.Result == mci::kOk && wave.Frames() == 0) {
    wave.Result = mci::kInvalidFile;
    wave.Problem = "it holds no samples";
  }
  return wave;
}

}  // namespace kiravel
