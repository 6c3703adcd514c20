#include <filesystem>
#include <limits>

#include <gtest/gtest.h>

#include "platform/data_folder.h"
#include "testing/game_fixture.h"

namespace kiravel::testing {
namespace {

double Kana(int k) { return (k + 0.5) / 46; }
constexpr int kLastPosition = std::numeric_limits<std::int16_t>::max();

// On hard a rumour is heard from a draw of 50 on.
TEST(Rumours, LuckDrawOfFortyNineFailsWithoutCost) {
  Game game;
  game.StartInTown(1);
  Fom& f = *game.fom;
  int towns = f.LstMati[0].ListCount();
  game.Rnd({0.495});
  f.HearRumours();
  EXPECT_EQ(game.platform.QueuedDraws(), 0u);
  EXPECT_EQ(f.LblGame.Caption, "たいした噂は耳に入ってこない・・・");
  EXPECT_EQ(f.LstMati[0].ListCount(), towns);
  EXPECT_EQ(f.Money, 10000);
}

TEST(Rumours, LabelHoldsThePriceTheRumourLinesAndTheNewTown) {
  Game game;
  game.StartInTown(1);
  Fom& f = *game.fom;
  game.data.WriteBytes(TextFile("mati1"), "");
  int towns = f.LstMati[0].ListCount();
  // luck, price, three kana, attribute, rumour file
  game.Rnd({0.505, 0.1235, Kana(0), Kana(1), Kana(45), 0.5, 0.5});
  f.HearRumours();
  EXPECT_EQ(f.LblGame.Caption,
            "街の噂を聞きつけた！123星粒をあげたよ！\r\n\r\n\r\nあいんに行けるようになった！");
  EXPECT_EQ(f.Money, 10000 - 123);
  ASSERT_EQ(f.LstMati[0].ListCount(), towns + 1);
  ASSERT_EQ(f.LstMati[1].ListCount(), towns + 1);
  EXPECT_EQ(f.LstMati[0].List(towns), "(草)　あいん");
  EXPECT_EQ(f.LstMati[1].List(towns), "1");
  EXPECT_EQ(f.Files.OpenCount(), 0);

  game.Rnd({0.5, 0.0, Kana(2), Kana(2), Kana(2), 0.0, 0.0});
  f.HearRumours();
  EXPECT_EQ(f.LblGame.Caption,
            "街の噂を聞きつけた！0星粒をあげたよ！\r\n\r\n噂0\r\n\r\nうううに行けるようになった！");
  EXPECT_TRUE(game.platform.Failures.empty());
}

TEST(Rumours, MissingRumourFileStillFindsTheTownAndNamesTheFile) {
  Game game;
  game.StartInTown(1);
  Fom& f = *game.fom;
  std::filesystem::remove(game.data.Path() + TextFile("mati2"));
  game.Rnd({0.505, 0.1005, Kana(3), Kana(4), Kana(5), 0.0, 0.995});
  f.HearRumours();
  ASSERT_EQ(game.platform.Failures.size(), 1u);
  EXPECT_NE(game.platform.Failures[0].find(TextFile("mati2")), std::string::npos);
  EXPECT_EQ(f.LblGame.Caption,
            "街の噂を聞きつけた！100星粒をあげたよ！\r\n\r\n\r\nえおかに行けるようになった！");
  EXPECT_EQ(f.LstMati[0].List(f.LstMati[0].ListCount() - 1), "(火)　えおか");
  EXPECT_EQ(f.Money, 9900);
}

TEST(Forest, FairyIsFoundUpToTheLevelThresholdWithTheTownsAttribute) {
  for (std::int16_t level : {0, 1}) {
    Game game;
    game.StartInTown(level);
    Fom& f = *game.fom;
    game.SetTowns({1}, 0);
    double found = level == 0 ? 0.505 : 0.305;
    game.Rnd({found + 0.01});
    f.VisitForest();
    EXPECT_EQ(f.LblGame.Caption, "妖精はみつからない・・・");
    int fairies = f.LstYou[0].ListCount();
    game.Rnd({found, 0.0, Kana(0), Kana(0), Kana(0)});
    f.VisitForest();
    EXPECT_EQ(f.LblGame.Caption, "妖精と出会った！約束してくれた！0だけ星粒をあげたよ");
    EXPECT_EQ(f.LstYou[0].List(fairies), "[草] あああ");
    EXPECT_EQ(f.LstYou[1].List(fairies), "1");
    EXPECT_EQ(game.platform.QueuedDraws(), 0u);
  }
}

TEST(Forest, PriceBeyondThePurseComesOutOfStamina) {
  Game game;
  game.StartInTown(0);
  Fom& f = *game.fom;
  f.Money = 100;
  f.StrVal[3] = 1000;
  game.Rnd({0.0, 0.2});
  f.VisitForest();
  EXPECT_EQ(f.LblGame.Caption, "妖精と出会った！約束してくれた！600だけ星粒をあげたよ");
  EXPECT_EQ(f.Money, 100);
  EXPECT_EQ(f.StrVal[3], 400);
}

TEST(Fairies, NamesAreThreeKanaAndNeverTheLongVowelMark) {
  Game game;
  Fom& f = *game.fom;
  const std::string kana =
      "あいうえおかきくけこさしすせそたちつてとなにぬねのはひふへほまみむめもやゆよらりるれろわをん";
  game.Rnd({0.0, 0.9999999, 0.5});
  EXPECT_EQ(f.MakeFairyName(3), "あんね");
  for (int i = 0; i < 2000; ++i) {
    std::string name = f.MakeFairyName(3);
    ASSERT_EQ(Len(name), 3) << name;
    for (int k = 1; k <= 3; ++k) ASSERT_NE(kana.find(Mid(name, k, 1)), std::string::npos) << name;
  }
}

TEST(Travel, NoTownSelectedKeepsTheCourierInTown) {
  Game game;
  game.StartInTown(0);
  Fom& f = *game.fom;
  f.LstMati[0].ListIndex = -1;
  f.Com_Click(4);
  EXPECT_EQ(game.MessageTexts(), (std::vector<std::string>{"行く街を選んで下さい"}));
  EXPECT_TRUE(f.Com[4].Visible);
  EXPECT_FALSE(f.TimDay.Enabled());
}

// A town or fairy past the last 16-bit position could never be chosen.
TEST(Lists, TownsAndFairiesStopAtTheLastSixteenBitPosition) {
  Game game;
  game.StartInTown(0);
  Fom& f = *game.fom;
  game.SetTowns({}, 0);
  for (int i = 0; i < kLastPosition + 1; ++i) f.AddTown("あいう", 0);
  EXPECT_EQ(f.LstMati[0].ListCount(), kLastPosition);
  EXPECT_EQ(f.LstMati[1].ListCount(), kLastPosition);

  f.LstYou[0].Clear();
  f.LstYou[1].Clear();
  for (int i = 0; i < kLastPosition; ++i) {
    f.LstYou[0].AddItem("[火] あいう");
    f.LstYou[1].AddItem("0");
  }
  game.Rnd({0.5});
  f.AddFairy(1);
  EXPECT_EQ(f.LstYou[0].ListCount(), kLastPosition);
  EXPECT_EQ(f.LstYou[1].ListCount(), kLastPosition);
  EXPECT_EQ(game.platform.QueuedDraws(), 1u) << "no name is drawn for a fairy not added";
}

}  // namespace
}  // namespace kiravel::testing
