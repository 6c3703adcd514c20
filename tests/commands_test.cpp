#include <gtest/gtest.h>

#include "testing/game_fixture.h"

namespace kiravel::testing {
namespace {

struct Case {
  std::int16_t town;
  std::array<std::int16_t, 3> counts;
  std::int16_t line;      // status index raised to reach the threshold
  std::int16_t strength;  // the least value that shows the event
  std::int16_t expectedLine;
};

// On hard every started event of a line asks 70 more points of its status.
TEST(Events, TownOffersItsLineThenTheNextOnceBothHaveSixStarted) {
  Game game;
  game.StartInTown(1);
  Fom& f = *game.fom;
  for (const char* name : {"13", "06", "00", "01"}) game.data.WriteScript(name, {"話", "tugi"});
  const Case cases[] = {
      {1, {6, 3, 6}, 1, 210, 1},
      {2, {6, 0, 6}, 0, 420, 0},
      {0, {0, 0, 0}, 0, 0, 0},
      {0, {1, 0, 0}, 0, 70, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.town * 1000 + c.strength);
    game.SetTowns({c.town}, 0);
    f.IveCount = c.counts;
    if (c.strength > 0) {
      f.StrVal[c.line] = static_cast<std::int16_t>(c.strength - 1);
      f.EnterTown();
      EXPECT_FALSE(f.Com[0].Visible);
    }
    f.StrVal[c.line] = c.strength;
    f.EnterTown();
    EXPECT_EQ(f.IveNo, c.expectedLine);
    EXPECT_TRUE(f.Com[0].Visible);
  }
  game.SetTowns({0}, 0);
  f.IveCount = {6, 2, 0};
  f.EnterTown();
  EXPECT_EQ(f.IveNo, 10);
  EXPECT_FALSE(f.Com[0].Visible);
}

TEST(Events, FinishedStoryLineOffersNoEvent) {
  Game game;
  game.StartInTown(1);
  Fom& f = *game.fom;
  game.SetTowns({0}, 0);
  f.IveCount = {2, 0, 0};
  f.StrVal[0] = 1000;
  f.EnterTown();
  EXPECT_EQ(f.IveNo, 0);
  EXPECT_FALSE(f.Com[0].Visible);
  game.data.WriteScript("02", {"話", "tugi"});
  f.EnterTown();
  EXPECT_TRUE(f.Com[0].Visible);
}

// 32767 × 70 cut to 16 bits is −70, which any strength would pass.
TEST(Events, ThresholdOfAVeryLongLineIsNotCutToSixteenBits) {
  Game game;
  game.StartInTown(1);
  Fom& f = *game.fom;
  game.data.WriteScript("032767", {"話", "tugi"});
  game.SetTowns({2}, 0);
  f.IveCount = {32767, 0, 6};
  f.StrVal[0] = 1000;
  f.EnterTown();
  EXPECT_EQ(f.IveNo, 0);
  EXPECT_FALSE(f.Com[0].Visible);
  f.Com_Click(0);
  EXPECT_EQ(f.IveCount[0], 32767);
}

TEST(Events, EventCostsADayBeforeItsSceneAndCountsOnAfterIt) {
  Game game;
  game.StartInTown(1);
  Fom& f = *game.fom;
  game.data.WriteScript("110", {"十番目の話", "tugi"});
  game.SetTowns({0}, 0);
  f.IveCount = {6, 10, 0};
  f.StrVal[1] = 1000;
  f.EnterTown();
  ASSERT_TRUE(f.Com[0].Visible);
  f.Com_Click(0);
  EXPECT_EQ(f.StrVal[4], 2);
  EXPECT_EQ(f.IveCount[1], 11);
  EXPECT_NE(f.Lbl.Caption.find("十番目の話"), std::string::npos);

  f.ComSkep_Click();
  EXPECT_EQ(f.Files.OpenCount(), 0);
  EXPECT_FALSE(f.Lbl.Visible);
  EXPECT_FALSE(f.ComSkep.Visible);
  EXPECT_TRUE(f.Com[1].Visible);
}

TEST(Commands, TavernCostsStarGrainsWhileForestAndRumoursCostADay) {
  Game game;
  game.StartInTown(0);
  Fom& f = *game.fom;
  game.SetTowns({0, 1, 2}, 0);
  f.Com_Click(3);
  EXPECT_EQ(f.Money, 9800);
  EXPECT_EQ(f.StrVal[4], 1);
  EXPECT_TRUE(f.PicBar.Visible);

  game.Rnd({0.995});  // no fairy
  f.Com_Click(1);
  EXPECT_FALSE(f.PicBar.Visible) << "every command leaves the tavern first";
  EXPECT_EQ(f.LblGame.Caption, "妖精はみつからない・・・");
  EXPECT_EQ(f.StrVal[4], 2);

  game.Rnd({0.005});  // no rumour
  f.Com_Click(2);
  EXPECT_EQ(f.LblGame.Caption, "たいした噂は耳に入ってこない・・・");
  EXPECT_EQ(f.StrVal[4], 3);
  EXPECT_EQ(f.Money, 9800);
}

// On easy a rest costs 500; the purse of 300 cannot pay it.
TEST(Commands, RestWithAShortPurseTakesStaminaAndStillRestores) {
  Game game;
  game.data.WriteScript("badend_hp", {"力尽きた", "tugi"});
  game.StartInTown(0);
  Fom& f = *game.fom;
  f.Money = 300;
  f.StrVal[3] = 800;
  game.Rnd({0.0});
  f.ComHp_Click();
  EXPECT_EQ(f.Money, 300);
  EXPECT_EQ(f.StrVal[3], 400);

  game.Rnd({0.505});
  f.StrVal[3] = 400;
  f.ComHp_Click();
  EXPECT_FALSE(f.ComSkep.Enabled);
  EXPECT_EQ(f.StrVal[3], 150) << "the gain follows the ending";
}

}  // namespace
}  // namespace kiravel::testing
