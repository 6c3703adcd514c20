// Every command case against both music devices: the runner's simulated one
// and the game's SDL one must answer alike, or the runner's output would say
// something the game does not do.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

#include "platform/data_folder.h"
#include "testing/wave.h"
#include "tests/music/music_sides.h"

namespace kiravel {
namespace {

namespace fs = std::filesystem;
using testing::MonoWave;
using testing::SilentWave;

template <class Side>
struct MusicDevice : ::testing::Test {
  MusicDevice() {
    folder = fs::temp_directory_path() /
             ("kiravel-music-" + std::to_string(::getpid()) + "-" +
              ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::create_directories(folder);
  }
  ~MusicDevice() override { fs::remove_all(folder); }

  std::string Write(const std::string& name, const std::string& bytes) {
    std::ofstream(folder / name, std::ios::binary) << bytes;
    return (folder / name).string();
  }
  std::int32_t Send(const std::string& command) { return side.device.Send(command, nullptr); }
  std::int32_t Open(const std::string& path) {
    return Send("open \"" + path + "\" alias MIDI");
  }
  // The reply of a status query as the game's buffer of 16 blanks holds it.
  std::pair<std::int32_t, std::string> Mode() {
    std::string reply(16, ' ');
    std::int32_t result = side.device.Send("status MIDI mode", &reply);
    return {result, reply};
  }

  fs::path folder;
  Side side;
};

using Sides = ::testing::Types<testing::ClockSide, testing::SdlSide>;
TYPED_TEST_SUITE(MusicDevice, Sides);

const std::pair<std::int32_t, std::string> kPlaying{0, "playing"};
const std::pair<std::int32_t, std::string> kStopped{0, "stopped"};
const std::pair<std::int32_t, std::string> kNothingOpen{263, std::string(16, ' ')};
// Long enough that a sound card is still playing it when asked right after
// the play, however slow the machine.
constexpr int kPieceMs = 2000;

// The game's whole life of the music: open, play, the end, seek and play
// from 0 again, close.
TYPED_TEST(MusicDevice, PlaysToTheEndAndStartsAgainFromTheBeginning) {
  ASSERT_EQ(this->Open(this->Write(kMusicFile, SilentWave(kPieceMs))), 0);
  EXPECT_EQ(this->Mode(), kStopped) << "an opened piece waits for play";
  EXPECT_EQ(this->Send("play MIDI notify"), 0);
  EXPECT_EQ(this->Mode(), kPlaying);
  EXPECT_EQ(this->Send("play MIDI notify"), 0) << "a playing piece goes on";
  ASSERT_TRUE(this->side.PlayToEnd());
  EXPECT_EQ(this->Mode(), kStopped);
  EXPECT_EQ(this->Send("play MIDI notify"), 0);
  EXPECT_EQ(this->Mode(), kStopped) << "a plain play starts where the piece stands: its end";
  EXPECT_EQ(this->Send("seek MIDI to start"), 0);
  EXPECT_EQ(this->Send("play MIDI from 0"), 0);
  EXPECT_EQ(this->Mode(), kPlaying);
  ASSERT_TRUE(this->side.PlayToEnd());
  EXPECT_EQ(this->Mode(), kStopped);
  EXPECT_EQ(this->Send("play MIDI from 1000"), 0) << "from the middle";
  EXPECT_EQ(this->Mode(), kPlaying);
  EXPECT_EQ(this->Send("seek MIDI to start"), 0);
  EXPECT_EQ(this->Mode(), kStopped) << "a seek holds the piece";
  EXPECT_EQ(this->Send("close MIDI notify"), 0);
  EXPECT_EQ(this->Mode(), kNothingOpen);
  EXPECT_EQ(this->Send("close MIDI notify"), 263);
}

// Words missing are a missing parameter; words the language does not know
// are an unrecognised command; a position that is no number of
// milliseconds within the piece is out of range. None changes the piece.
TYPED_TEST(MusicDevice, MalformedCommandsAreRefusedWithOneCodeEach) {
  ASSERT_EQ(this->Open(this->Write(kMusicFile, SilentWave(100))), 0);
  const std::vector<std::pair<std::string, std::int32_t>> cases{
      {"", 261},
      {"   ", 261},
      {"pause MIDI", 261},
      {"open", 273},
      {std::string("open ") + kMusicFile + " alias MIDI", 273},
      {"open \"" + this->folder.string() + std::string("/") + kMusicFile + "\"", 273},
      {"open \"" + this->folder.string() + std::string("/") + kMusicFile + "\" alias", 273},
      {"open \"" + this->folder.string() + std::string("/") + kMusicFile + "\" alias OTHER type x", 261},
      {"play", 273},
      {"close", 273},
      {"close MIDI now", 261},
      {"seek MIDI", 273},
      {"seek MIDI to", 273},
      {"seek MIDI to end", 261},
      {"status MIDI", 273},
      {"status MIDI position", 261},
      {"status MIDI mode notify", 261},
      {"play MIDI from", 273},
      {"play MIDI from x", 282},
      {"play MIDI from -5", 282},
      {"play MIDI from 12abc", 282},
      {"play MIDI from 101", 282},
      {"play MIDI from 99999999999999999999", 282},
      {"play MIDI from 0 twice", 261},
      {"play OTHER", 263},
  };
  for (const auto& [command, code] : cases) {
    EXPECT_EQ(this->Send(command), code) << command;
    EXPECT_EQ(this->Mode(), kStopped) << "after " << command;
  }
}

TYPED_TEST(MusicDevice, ASecondOpenOfTheAliasIsRefusedAndKeepsThePiece) {
  const std::string path = this->Write(kMusicFile, SilentWave(kPieceMs));
  ASSERT_EQ(this->Open(path), 0);
  EXPECT_EQ(this->Open(path), 289);
  EXPECT_EQ(this->Open(this->folder.string() + "/none.wav"), 289);
  EXPECT_EQ(this->Send("play MIDI notify"), 0);
  EXPECT_EQ(this->Mode(), kPlaying);
  EXPECT_EQ(this->Send("close MIDI notify"), 0);
  EXPECT_EQ(this->Open(path), 0) << "the game closes the alias before it opens it again";
}

// What the game cannot play never opens, so the music timer never sees
// "stopped" and the game runs silent. A piece without samples would end the
// moment it starts and be started again at every tick for ever: it is no
// music. A pipe under the name must not hold the device.
TYPED_TEST(MusicDevice, FilesTheGameCannotPlayNeverOpen) {
  fs::create_directory(this->folder / "folder.wav");
  ASSERT_EQ(::mkfifo((this->folder / "pipe.wav").c_str(), 0600), 0);
  const std::vector<std::pair<std::string, std::int32_t>> cases{
      {(this->folder / "none.wav").string(), 275},
      {(this->folder / "folder.wav").string(), 275},
      {(this->folder / "pipe.wav").string(), 275},
      {this->Write("text.wav", "not a wave at all"), 296},
      {this->Write("junk.wav", "RIFF0000WAVEjunk"), 296},
      {this->Write("nodata.wav", MonoWave("", 1, false)), 296},
      {this->Write("silent.wav", MonoWave("")), 296},
      {this->Write("adpcm.wav", MonoWave(std::string(16, '\0'), 0x55)), 296},
  };
  for (const auto& [path, code] : cases) {
    EXPECT_EQ(this->Open(path), code) << path;
    EXPECT_EQ(this->Mode(), kNothingOpen) << path;
    EXPECT_EQ(this->Send("play MIDI from 0"), 263) << path;
  }
}

// Sound editors save 32-bit float, WAVE_FORMAT_EXTENSIBLE and µ-law waves;
// SDL plays them, so they are music.
TYPED_TEST(MusicDevice, WavesSdlPlaysOpenAndPlayToTheirEnd) {
  for (const std::string& wave : {testing::FloatWave(800), testing::ExtensibleWave(800),
                                  testing::MuLawWave(800)}) {
    ASSERT_EQ(this->Open(this->Write(kMusicFile, wave)), 0);
    EXPECT_EQ(this->Send("play MIDI notify"), 0);
    EXPECT_TRUE(this->side.PlayToEnd());
    EXPECT_EQ(this->Mode(), kStopped);
    EXPECT_EQ(this->Send("close MIDI notify"), 0);
  }
}

}  // namespace
}  // namespace kiravel
