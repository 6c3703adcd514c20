// Reading a wave asks SDL's loader no more memory than the file holds: a
// chunk's header may claim up to 4 GiB, and a tiny broken file must not make
// the game, the runner or the checker reserve that much.
#include <SDL.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cstddef>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "platform/mci_codes.h"
#include "platform/wave_file.h"
#include "testing/wave.h"

namespace kiravel {
namespace {

namespace fs = std::filesystem;
using testing::Claiming;
using testing::LittleEndian;
using testing::MonoWave;

// The largest single block SDL has asked for since the counting began.
std::size_t largestRequest = 0;

void* CountedMalloc(std::size_t size) {
  largestRequest = std::max(largestRequest, size);
  return std::malloc(size);
}
void* CountedCalloc(std::size_t count, std::size_t size) {
  largestRequest = std::max(largestRequest, count * size);
  return std::calloc(count, size);
}
void* CountedRealloc(void* block, std::size_t size) {
  largestRequest = std::max(largestRequest, size);
  return std::realloc(block, size);
}

struct WaveReading : ::testing::Test {
  WaveReading() {
    path = fs::temp_directory_path() / ("kiravel-wave-" + std::to_string(::getpid()) + ".wav");
    SDL_GetMemoryFunctions(&sdlMalloc, &sdlCalloc, &sdlRealloc, &sdlFree);
    SDL_SetMemoryFunctions(&CountedMalloc, &CountedCalloc, &CountedRealloc, &std::free);
  }
  ~WaveReading() override {
    SDL_SetMemoryFunctions(sdlMalloc, sdlCalloc, sdlRealloc, sdlFree);
    fs::remove(path);
  }

  WaveFile Read(const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
    largestRequest = 0;
    return ReadWaveFile(path.string());
  }

  fs::path path;
  SDL_malloc_func sdlMalloc = nullptr;
  SDL_calloc_func sdlCalloc = nullptr;
  SDL_realloc_func sdlRealloc = nullptr;
  SDL_free_func sdlFree = nullptr;
};

constexpr std::size_t kSmall = 64 * 1024;

// A data chunk that claims more than the file holds is a wave cut short: it
// plays the samples that are there, as far as whole frames go.
TEST_F(WaveReading, ADataChunkClaimingGigabytesPlaysWhatTheFileHolds) {
  const std::string wave = MonoWave(std::string(1601, '\x11'));
  for (std::uint32_t claim : {0xFFFFFFFFu, 0xE0000000u, 1602u}) {
    const WaveFile read = Read(Claiming(wave, "data", claim));
    EXPECT_EQ(read.Result, 0) << claim << ": " << read.Problem;
    EXPECT_EQ(read.Frames(), 800) << claim;
    EXPECT_LT(largestRequest, kSmall) << claim;
  }
}

// The loader also takes a wave that has lost its RIFF header and starts at
// "WAVE"; its chunks are held to the file's size all the same.
TEST_F(WaveReading, AWaveWithoutItsRiffHeaderIsHeldToTheFileToo) {
  const std::string headless = MonoWave(std::string(1601, '\x11')).substr(8);
  for (std::uint32_t claim : {0x88888888u, 1602u}) {
    const WaveFile read = Read(Claiming(headless, "data", claim));
    EXPECT_EQ(read.Result, 0) << claim << ": " << read.Problem;
    EXPECT_EQ(read.Frames(), 800) << claim;
    EXPECT_LT(largestRequest, kSmall) << claim;
  }
  EXPECT_EQ(Read(Claiming(headless, "fmt ", 0xFFFFFFF0u)).Result, mci::kInvalidFile);
  EXPECT_LT(largestRequest, kSmall);
}

// Any other chunk claiming more than the file holds leaves its wave broken.
TEST_F(WaveReading, AnyOtherChunkClaimingMoreThanTheFileIsABrokenWave) {
  const std::string wave = MonoWave(std::string(16, '\0'));
  const std::string listed = wave.substr(0, 12) + "LIST" + LittleEndian(4, 4) + "INFO" +
                             wave.substr(12);
  for (const std::string& broken :
       {Claiming(wave, "fmt ", 0xFFFFFFF0u), Claiming(listed, "LIST", 0xC0000000u)}) {
    const WaveFile read = Read(broken);
    EXPECT_EQ(read.Result, mci::kInvalidFile);
    EXPECT_NE(read.Problem.find("claims more bytes than the file holds"), std::string::npos)
        << read.Problem;
    EXPECT_LT(largestRequest, kSmall);
  }
}

// Whatever its kind, the wave's samples read back as SDL's loader gives them
// from the whole file: those it leaves as they are come from the file while
// they play, the rest decoded; longer pieces than the loader is first shown
// included.
TEST_F(WaveReading, SamplesReadBackAsTheLoaderGivesThem) {
  std::string rising;
  for (int i = 0; i < 6000; ++i) rising += static_cast<char>(i * 7 + i / 256);
  const std::string pieces[] = {
      MonoWave(rising),
      MonoWave(rising).substr(0, 5001),
      testing::WaveOf(3, 32, rising),
      testing::WaveOf(7, 8, rising),
      testing::WaveOf(1, 24, rising),
      testing::WaveOf(1, 8, rising.substr(0, 100)),
  };
  for (const std::string& piece : pieces) {
    const WaveFile read = Read(piece);
    ASSERT_EQ(read.Result, 0) << read.Problem;
    SDL_AudioSpec format{};
    Uint8* samples = nullptr;
    Uint32 bytes = 0;
    ASSERT_NE(SDL_LoadWAV(path.c_str(), &format, &samples, &bytes), nullptr);
    std::string expected(reinterpret_cast<char*>(samples), bytes);
    SDL_FreeWAV(samples);
    EXPECT_EQ(read.Format.format, format.format);
    EXPECT_EQ(read.Format.freq, format.freq);
    ASSERT_EQ(read.Bytes, bytes);
    // Read in the sound card's portions, the last one past the end.
    std::string heard;
    Uint8 portion[1000];
    for (std::size_t at = 0; at <= read.Bytes; at += sizeof portion)
      heard.append(reinterpret_cast<char*>(portion), read.Read(at, portion, sizeof portion));
    EXPECT_EQ(heard, expected);
  }
}

}  // namespace
}  // namespace kiravel
