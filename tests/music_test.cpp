#include <gtest/gtest.h>

#include "platform/data_folder.h"
#include "testing/game_fixture.h"
#include "testing/wave.h"

namespace kiravel {
namespace {

using testing::SilentWave;

struct MusicGame : testing::Game {
  MusicGame() {
    platform.OnMci = [this](const std::string& command, std::int32_t) { sent.push_back(command); };
  }
  std::vector<std::string> sent;
};

TEST(Music, LoopsFromTheStartOnlyOnceThePieceHasEnded) {
  MusicGame game;
  game.data.WriteBytes(kMusicFile, SilentWave(100));
  game.fom->OpenMusic(game.fom->AppPath + kMusicFile);
  game.fom->MusicOn = true;
  game.fom->PlayMusic();
  game.sent.clear();

  game.platform.NowMs = 99;
  game.fom->BgmTim_Timer();
  EXPECT_TRUE(game.sent.empty()) << "a playing piece gets only the status query";

  game.platform.NowMs = 100;
  game.fom->BgmTim_Timer();
  EXPECT_EQ(game.sent, (std::vector<std::string>{"seek MIDI to start", "play MIDI from 0"}));

  game.sent.clear();
  game.platform.NowMs = 150;
  game.fom->BgmTim_Timer();
  EXPECT_TRUE(game.sent.empty()) << "restarted at 100, so still playing at 150";
}

TEST(Music, MissingWaveRunsSilentWithoutRestartsOrMessages) {
  MusicGame game;
  game.fom->OpenMusic(game.fom->AppPath + kMusicFile);
  game.fom->MusicOn = true;
  game.fom->PlayMusic();
  game.sent.clear();
  game.platform.NowMs = 5000;
  game.fom->BgmTim_Timer();
  EXPECT_TRUE(game.sent.empty());
  EXPECT_TRUE(game.platform.MessageBoxes.empty());
}

TEST(Music, SendsTheExactCommandStrings) {
  MusicGame game;
  game.fom->MusicOn = false;
  game.fom->OpenMusic(std::string("/x/") + kMusicFile);
  game.fom->PlayMusic();  // music off: nothing is sent
  game.fom->CloseMusic();
  EXPECT_EQ(game.sent, (std::vector<std::string>{"close MIDI notify",
                                                 std::string("open \"/x/") + kMusicFile + "\" alias MIDI",
                                                 "close MIDI notify"}));
}

// Closing a file number that holds nothing is where the window's close
// could fail; the music must be closed all the same.
TEST(Music, ClosingTheWindowClosesTheMusicWhateverTheFileDoes) {
  MusicGame game;
  game.fom->FileNo = 42;
  game.sent.clear();
  game.fom->Form_Unload();
  EXPECT_EQ(game.sent, (std::vector<std::string>{"close MIDI notify"}));
}

}  // namespace
}  // namespace kiravel
