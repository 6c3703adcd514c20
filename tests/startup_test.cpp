#include <gtest/gtest.h>

#include <algorithm>

#include "platform/data_folder.h"
#include "testing/game_fixture.h"

namespace kiravel::testing {
namespace {

// Draw that Int(r × 46) turns into kana k of the name alphabet.
double Kana(int k) { return (k + 0.5) / 46; }

TEST(Startup, ProgramFolderGetsExactlyOneTrailingSlash) {
  DataFolder data;
  ScriptedPlatform platform;
  std::string bare = data.Path().substr(0, data.Path().size() - 1);
  for (const std::string& folder : {bare, data.Path()}) {
    Fom fom(platform, folder);
    fom.Form_Load();
    EXPECT_EQ(fom.AppPath, data.Path());
    EXPECT_EQ(fom.DataDir[1], data.Path() + TextFolderPath());
  }
}

TEST(Startup, EachLevelSetsItsColumnAndShowsTheOpeningStatus) {
  Game easy;
  easy.StartInTown(0);
  Fom& e = *easy.fom;
  EXPECT_EQ((std::array<std::int16_t, 9>{e.LvMon, e.LvAtk, e.LvLuck, e.LvIve, e.LvYou, e.LvPen,
                                         e.LvBonus, e.LvRest, e.LvDay}),
            (std::array<std::int16_t, 9>{1, 10, 70, 50, 50, 1, 30, 500, 50}));
  EXPECT_EQ(e.LblStr[0].Caption, "火[100]");
  EXPECT_EQ(e.LblStr[3].Caption, "体力[100]");
  EXPECT_EQ(e.LblStr[4].Caption, "日数[1]");
  EXPECT_EQ(e.LblDay.Caption, "10000星粒");
  EXPECT_FALSE(e.menu_sis.Enabled);

  Game hard;
  hard.StartInTown(1);
  Fom& h = *hard.fom;
  EXPECT_EQ((std::array<std::int16_t, 9>{h.LvMon, h.LvAtk, h.LvLuck, h.LvIve, h.LvYou, h.LvPen,
                                         h.LvBonus, h.LvRest, h.LvDay}),
            (std::array<std::int16_t, 9>{3, 30, 50, 70, 30, 2, 10, 1000, 100}));
  EXPECT_EQ(h.LblStr[2].Caption, "水[50]");
  EXPECT_EQ(h.LblStr[3].Caption, "体力[50]");
  EXPECT_TRUE(h.menu_sis.Enabled);
}

// Each town's name comes before its attribute, each fairy's attribute
// before its name; a different order gives other towns for the same seed.
TEST(Startup, NewGameDrawsTownsAndFairiesInOrderAndClearsTheOldGame) {
  Game game;
  game.StartInTown(0);
  Fom& f = *game.fom;
  f.LstSigoto.ForEach([](ListBox& list) { list.AddItem("1"); });
  f.IveCount = {3, 2, 1};
  game.Rnd({Kana(0), Kana(1), Kana(2), 0.5, 0.9, Kana(5), Kana(6), Kana(7),
            Kana(10), Kana(11), Kana(12), 0.0, 0.4, Kana(15), Kana(16), Kana(17),
            Kana(20), Kana(21), Kana(22), 0.7, 0.1, Kana(25), Kana(26), Kana(27), 0.5});
  game.StartInTown(0);
  EXPECT_EQ(game.platform.QueuedDraws(), 0u);
  EXPECT_EQ(f.LstMati[0].Items(),
            (std::vector<std::string>{"(草)　あいう", "(火)　さしす", "(水)　なにぬ"}));
  EXPECT_EQ(f.LstMati[1].Items(), (std::vector<std::string>{"1", "0", "2"}));
  EXPECT_EQ(f.LstYou[0].Items(),
            (std::vector<std::string>{"[水] かきく", "[草] たちつ", "[火] はひふ"}));
  EXPECT_EQ(f.LstYou[1].Items(), (std::vector<std::string>{"2", "1", "0"}));
  EXPECT_EQ(f.MatiNow, 1);
  EXPECT_EQ(f.LblMati.Caption, "(火)　さしす");
  EXPECT_EQ(f.LstSigoto[5].ListCount(), 0);
  EXPECT_EQ(f.IveCount, (std::array<std::int16_t, 3>{0, 0, 0}));
  EXPECT_FALSE(f.PicStt.Visible);
}

// A bad ending locks the skip button; only a new game unlocks it.
TEST(Startup, OnlyANewGameUnlocksTheSkipButton) {
  Game game;
  game.data.WriteScript("badend_hp", {"力尽きた", "tugi"});
  game.StartInTown(0);
  Fom& f = *game.fom;
  f.StrVal[3] = 0;
  f.AddStatus(3, -1);
  ASSERT_FALSE(f.ComSkep.Enabled);
  f.Form_Activate();
  f.ComStt_Click(2);
  EXPECT_FALSE(f.ComSkep.Enabled);
  EXPECT_TRUE(f.PicStt.Visible);  // no save to load: the start panel stays
  EXPECT_EQ(f.LvPen, 2);
  game.StartInTown(0);
  EXPECT_TRUE(f.ComSkep.Enabled);
}

TEST(Startup, ClosingTheWindowClosesTheOpenFile) {
  Game game;
  Fom& f = *game.fom;
  f.FileNo = f.Files.FreeFile();
  ASSERT_EQ(f.Files.OpenForInput(f.FileNo, f.DataDir[1] + DataFileName("mati0")), TextFileError::None);
  f.Form_Unload();
  EXPECT_EQ(f.Files.OpenCount(), 0);
  f.Form_Unload();  // nothing open any more: nothing to do
  EXPECT_EQ(f.Files.OpenCount(), 0);
}

// Closing asks only when progress since the last start, save or load would
// be lost, and keeps the window when the answer is not Yes.
TEST(Startup, ClosingAsksOnlyWhileUnsavedProgressWouldBeLost) {
  Game game;
  Fom& f = *game.fom;
  std::int16_t cancel = 1;
  f.Form_QueryUnload(cancel);
  EXPECT_EQ(cancel, 0) << "the start panel";
  game.StartInTown(1);
  f.Form_QueryUnload(cancel);
  EXPECT_EQ(cancel, 0) << "nothing done since the start";

  f.Com_Click(3);
  f.Form_QueryUnload(cancel);
  EXPECT_EQ(cancel, 1) << "a stray Enter answers No";
  game.platform.QueueAnswer(MsgBoxAnswer::Yes);
  f.Form_QueryUnload(cancel);
  EXPECT_EQ(cancel, 0);

  f.SaveGame();
  f.Form_QueryUnload(cancel);
  EXPECT_EQ(cancel, 0) << "just saved";
  f.Money -= 100;
  f.Form_QueryUnload(cancel);
  EXPECT_EQ(cancel, 1);
  ASSERT_TRUE(f.LoadGame());
  f.Form_QueryUnload(cancel);
  EXPECT_EQ(cancel, 0) << "just loaded";
  const std::vector<std::string> texts = game.MessageTexts();
  EXPECT_EQ(std::count(texts.begin(), texts.end(), "旅の途中です。ゲームを終了しますか？"), 3);
}

}  // namespace
}  // namespace kiravel::testing
