#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>

#include "platform/sdl_mci.h"
#include "tests/wave.h"

namespace kiravel {
namespace {

namespace fs = std::filesystem;

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

using testing::MonoWave;

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
    ::setenv("SDL_AUDIODRIVER", "disk", 1);
    ::setenv("SDL_DISKAUDIOFILE", output.c_str(), 1);
  }
  ~DiskAudio() override { fs::remove_all(folder); }

  void Write(const std::string& name, const std::string& bytes) {
    std::ofstream(folder / name, std::ios::binary) << bytes;
  }

  std::string Mode(SdlMci& mci) {
    std::string reply(16, ' ');
    mci.Send("status MIDI mode", &reply);
    return reply;
  }

  // Polls as the music timer does, bounded so a device that never finishes
  // fails the test instead of hanging it.
  bool WaitStopped(SdlMci& mci) {
    auto until = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (std::chrono::steady_clock::now() < until) {
      if (Mode(mci) == "stopped") return true;
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return false;
  }

  fs::path folder;
  fs::path output;
};

// The music timer relies on the piece reaching "stopped" and on seek + play
// from 0 sending every sample again; a device that stops early, never stops,
// or restarts mid-piece would break the loop.
TEST_F(DiskAudio, PlaysEverySampleTwiceAfterOneLoop) {
  const std::string samples = PieceSamples(800);
  Write("bgm.wav", MonoWave(samples));
  {
    SdlMci mci;
    ASSERT_EQ(mci.Send("open \"" + (folder / "bgm.wav").string() + "\" alias MIDI", nullptr), 0);
    EXPECT_EQ(Mode(mci), "stopped") << "an opened piece waits for play";
    ASSERT_EQ(mci.Send("play MIDI notify", nullptr), 0);
    EXPECT_EQ(Mode(mci), "playing");
    ASSERT_TRUE(WaitStopped(mci));
    EXPECT_EQ(mci.Send("seek MIDI to start", nullptr), 0);
    EXPECT_EQ(mci.Send("play MIDI from 0", nullptr), 0);
    ASSERT_TRUE(WaitStopped(mci));
    EXPECT_EQ(mci.Send("close MIDI notify", nullptr), 0);
  }
  EXPECT_EQ(Occurrences(ReadAll(output), samples), 2);
}

TEST_F(DiskAudio, ReplayingWhilePlayingDoesNotQueueThePieceTwice) {
  const std::string samples = PieceSamples(800);
  Write("bgm.wav", MonoWave(samples));
  {
    SdlMci mci;
    ASSERT_EQ(mci.Send("open \"" + (folder / "bgm.wav").string() + "\" alias MIDI", nullptr), 0);
    mci.Send("play MIDI notify", nullptr);
    mci.Send("play MIDI notify", nullptr);
    ASSERT_TRUE(WaitStopped(mci));
    mci.Send("close MIDI notify", nullptr);
  }
  EXPECT_EQ(Occurrences(ReadAll(output), samples), 1);
}

// Without the file the game must run silent: every command fails with a
// code, and the status reply is left blank so the timer never restarts.
TEST_F(DiskAudio, MissingOrBrokenWaveFailsEveryCommandQuietly) {
  Write("broken.wav", "RIFF0000WAVEjunk");
  SdlMci mci;
  EXPECT_EQ(mci.Send("open \"" + (folder / "bgm.wav").string() + "\" alias MIDI", nullptr), 275);
  EXPECT_EQ(mci.Send("open \"" + (folder / "broken.wav").string() + "\" alias MIDI", nullptr), 296);
  EXPECT_NE(mci.Send("play MIDI notify", nullptr), 0);
  EXPECT_NE(mci.Send("seek MIDI to start", nullptr), 0);
  EXPECT_EQ(Mode(mci), std::string(16, ' '));
  EXPECT_NE(mci.Send("close MIDI notify", nullptr), 0);
}

TEST_F(DiskAudio, NoAudioDriverFailsQuietly) {
  ::setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
  Write("bgm.wav", MonoWave(PieceSamples(80)));
  SdlMci mci;
  EXPECT_EQ(mci.Send("open \"" + (folder / "bgm.wav").string() + "\" alias MIDI", nullptr), 266);
  EXPECT_EQ(Mode(mci), std::string(16, ' '));
  EXPECT_NE(mci.Send("play MIDI from 0", nullptr), 0);
}

TEST_F(DiskAudio, ReopeningAfterCloseAndUnknownCommands) {
  Write("bgm.wav", MonoWave(PieceSamples(80)));
  SdlMci mci;
  const std::string open = "open \"" + (folder / "bgm.wav").string() + "\" alias MIDI";
  EXPECT_EQ(mci.Send("close MIDI notify", nullptr), 263) << "closing before any open";
  ASSERT_EQ(mci.Send(open, nullptr), 0);
  EXPECT_EQ(mci.Send(open, nullptr), 289) << "the alias is taken";
  EXPECT_EQ(mci.Send("pause MIDI", nullptr), 261);
  EXPECT_EQ(mci.Send("play MIDI from x", nullptr), 282);
  EXPECT_EQ(mci.Send("close MIDI notify", nullptr), 0);
  EXPECT_EQ(mci.Send(open, nullptr), 0) << "the game closes then opens the alias again";
}

}  // namespace
}  // namespace kiravel
