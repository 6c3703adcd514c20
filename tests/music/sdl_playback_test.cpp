// The game's sound card through SDL's disk driver, which writes what the
// card would sound into a file: the piece must come out whole, once per play.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "platform/data_folder.h"
#include "testing/wave.h"
#include "tests/music/music_sides.h"

namespace kiravel {
namespace {

namespace fs = std::filesystem;
using testing::MonoWave;
using testing::SdlSide;

// Samples that are never silence, so the piece can be found in the output.
std::string PieceSamples(int count) {
  std::string bytes;
  for (int i = 0; i < count; ++i) {
    auto sample = static_cast<std::uint16_t>(1000 + i * 7);
    bytes += static_cast<char>(sample & 0xFF);
    bytes += static_cast<char>(sample >> 8);
  }
  return bytes;
}

std::string ReadAll(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

int Occurrences(const std::string& haystack, const std::string& needle) {
  int count = 0;
  for (std::size_t at = haystack.find(needle); at != std::string::npos;
       at = haystack.find(needle, at + needle.size()))
    ++count;
  return count;
}

struct DiskAudio : ::testing::Test {
  DiskAudio() {
    folder = fs::temp_directory_path() /
             ("kiravel-sdl-" + std::to_string(::getpid()) + "-" +
              ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::create_directories(folder);
    output = folder / "out.raw";
    ::setenv("SDL_DISKAUDIOFILE", output.c_str(), 1);
  }
  ~DiskAudio() override { fs::remove_all(folder); }

  std::string Open() { return "open \"" + (folder / kMusicFile).string() + "\" alias MIDI"; }
  void Write(const std::string& bytes) {
    std::ofstream(folder / kMusicFile, std::ios::binary) << bytes;
  }

  fs::path folder;
  fs::path output;
};

// The music timer relies on seek + play from 0 sending every sample again;
// a card that stops early, never stops, or restarts mid-piece would break
// the loop.
TEST_F(DiskAudio, PlaysEverySampleTwiceAfterOneLoop) {
  const std::string samples = PieceSamples(800);
  Write(MonoWave(samples));
  {
    SdlSide side("disk");
    ASSERT_EQ(side.device.Send(Open(), nullptr), 0);
    ASSERT_EQ(side.device.Send("play MIDI notify", nullptr), 0);
    ASSERT_TRUE(side.PlayToEnd());
    EXPECT_EQ(side.device.Send("seek MIDI to start", nullptr), 0);
    EXPECT_EQ(side.device.Send("play MIDI from 0", nullptr), 0);
    ASSERT_TRUE(side.PlayToEnd());
    EXPECT_EQ(side.device.Send("close MIDI notify", nullptr), 0);
  }
  EXPECT_EQ(Occurrences(ReadAll(output), samples), 2);
}

TEST_F(DiskAudio, ReplayingWhilePlayingDoesNotSoundThePieceTwice) {
  const std::string samples = PieceSamples(800);
  Write(MonoWave(samples));
  {
    SdlSide side("disk");
    ASSERT_EQ(side.device.Send(Open(), nullptr), 0);
    side.device.Send("play MIDI notify", nullptr);
    side.device.Send("play MIDI notify", nullptr);
    ASSERT_TRUE(side.PlayToEnd());
    side.device.Send("close MIDI notify", nullptr);
  }
  EXPECT_EQ(Occurrences(ReadAll(output), samples), 1);
}

// Without a sound system the game must run silent: the open fails, and the
// status reply is left blank so the timer never restarts.
TEST_F(DiskAudio, NoAudioDriverFailsQuietly) {
  Write(MonoWave(PieceSamples(80)));
  SdlSide side("no-such-driver");
  EXPECT_EQ(side.device.Send(Open(), nullptr), 266);
  std::string reply(16, ' ');
  EXPECT_EQ(side.device.Send("status MIDI mode", &reply), 263);
  EXPECT_EQ(reply, std::string(16, ' '));
}

}  // namespace
}  // namespace kiravel
