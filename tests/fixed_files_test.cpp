// The files the game opens under its own names are the files kiravel-check
// asks for: a folder holding just those plays every fixed path.
#include <gtest/gtest.h>

#include <set>

#include "events/fixed_files.h"
#include "platform/data_folder.h"
#include "testing/game_fixture.h"

namespace kiravel::testing {
namespace {

// The game's fixture writes exactly the fixed pictures and rumours. Every
// picture the panels show outside a scene must be among them, and each of
// them must be shown somewhere, or the checker asks for the wrong files.
TEST(FixedFiles, ThePanelsShowExactlyTheFixedPictures) {
  Game game;
  Fom& f = *game.fom;
  std::set<std::string> shown;
  f.OnPictureRequest = [&](const PictureBox&, const std::string& file, bool) { shown.insert(file); };
  f.Form_Resize();
  game.StartInTown(1);
  for (std::int16_t command = 1; command <= 4; ++command) f.Com_Click(command);
  for (double draw : {0.0, 0.5, 0.9}) {
    game.Rnd({draw});
    f.MonsterAppears();
  }
  std::set<std::string> fixed;
  for (const FixedFile& picture : FixedPictures()) fixed.insert(PictureFolderPath() + picture.Name + kDataEnding);
  EXPECT_EQ(shown, fixed);
  EXPECT_TRUE(game.platform.Failures.empty()) << game.platform.Failures.front();
}

TEST(FixedFiles, EveryRumourFileIsOneTheGameReads) {
  Game game;
  game.StartInTown(1);
  Fom& f = *game.fom;
  for (int k = 0; k < kRumourFiles; ++k) {
    // luck, price, three kana, attribute, rumour file
    game.Rnd({0.995, 0.0, 0.0, 0.0, 0.0, 0.0, (k + 0.5) / kRumourFiles});
    f.HearRumours();
    EXPECT_NE(f.LblGame.Caption.find("噂" + std::to_string(k)), std::string::npos) << k;
  }
  EXPECT_TRUE(game.platform.Failures.empty()) << game.platform.Failures.front();
}

}  // namespace
}  // namespace kiravel::testing
