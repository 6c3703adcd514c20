#include <gtest/gtest.h>

#include "testing/game_fixture.h"

namespace kiravel::testing {
namespace {

TEST(Money, PurseStopsAtTheCapAndAShortfallCostsTheWholePriceInStamina) {
  Game game;
  game.StartInTown(0);
  Fom& f = *game.fom;
  f.Money = 299900;
  f.AddMoney(200);
  EXPECT_EQ(f.Money, 300000);
  EXPECT_EQ(f.LblDay.Caption, "300000星粒");

  f.Money = 300;
  f.StrVal[3] = 1000;
  f.AddMoney(-1000);
  EXPECT_EQ(f.Money, 300);
  EXPECT_EQ(f.StrVal[3], 0);
  EXPECT_EQ(f.LblStr[3].Caption, "体力[0]");
  EXPECT_EQ(f.LblDay.Caption, "300星粒");
  EXPECT_TRUE(f.ComSkep.Enabled) << "stamina 0 is still alive";
}

TEST(Money, ShortfallBeyondTheStaminaEndsTheGame) {
  Game game;
  game.data.WriteScript("badend_hp", {"力尽きた", "tugi"});
  game.StartInTown(0);
  Fom& f = *game.fom;
  f.Money = 300;
  f.StrVal[3] = 999;
  f.AddStatus(3, 0);
  f.TimDay.SetEnabled(true);
  f.AddMoney(-1000);
  EXPECT_EQ(f.Money, 300);
  EXPECT_EQ(f.StrVal[3], 0);
  EXPECT_EQ(f.LblStr[3].Caption, "体力[999]") << "the ending leaves the display alone";
  EXPECT_FALSE(f.TimDay.Enabled());
  EXPECT_FALSE(f.ComSkep.Enabled);
  EXPECT_NE(f.Lbl.Caption.find("力尽きた"), std::string::npos);
}

TEST(Status, DayPastTheYearEndsTheGameWithTheLabelStillOn365) {
  Game game;
  game.data.WriteScript("badend_day", {"一年が過ぎた", "tugi"});
  game.StartInTown(0);
  Fom& f = *game.fom;
  f.StrVal[4] = 365;
  f.AddStatus(4, 0);
  EXPECT_TRUE(f.ComSkep.Enabled) << "day 365 itself is still played";
  f.AddStatus(4, 1);
  EXPECT_EQ(f.StrVal[4], 365);
  EXPECT_EQ(f.LblStr[4].Caption, "日数[365]");
  EXPECT_FALSE(f.ComSkep.Enabled);
  EXPECT_NE(f.Lbl.Caption.find("一年が過ぎた"), std::string::npos);
}

TEST(Status, StrengthsClampSilentlyWithoutWrapping) {
  Game game;
  game.StartInTown(0);
  Fom& f = *game.fom;
  f.StrVal[0] = 3;
  f.AddStatus(0, -5);
  EXPECT_EQ(f.LblStr[0].Caption, "火[0]");
  f.AddStatus(1, 32767);
  EXPECT_EQ(f.LblStr[1].Caption, "草[1000]");
  f.AddStatus(2, -32768);
  EXPECT_EQ(f.LblStr[2].Caption, "水[0]");
  EXPECT_TRUE(f.ComSkep.Enabled);
}

TEST(Status, BarIsAHundredUnitsAtTheMaximum) {
  Game game;
  game.StartInTown(0);
  Fom& f = *game.fom;
  f.StrVal[0] = 0;
  f.AddStatus(0, 500);
  EXPECT_NEAR(f.ShpStr[0].Width(), 50, 1e-9);
  f.StrVal[4] = 72;
  f.AddStatus(4, 1);
  EXPECT_NEAR(f.ShpStr[4].Width(), 20, 1e-9);
}

// Towns 0, 1, 2 with the courier in `from`, bound for `to`.
void SetOff(Game& game, std::int16_t from, int to) {
  game.SetTowns({0, 1, 2}, from);
  game.fom->EnterTown();
  game.fom->LstMati[0].ListIndex = to;
  game.fom->Com_Click(4);
}

TEST(DayClock, JourneyOfTwoTownsTakesThreeDaysThreeFeesAndTwoMonsterChances) {
  Game game;
  game.StartInTown(0);
  Fom& f = *game.fom;
  SetOff(game, 0, 2);
  EXPECT_TRUE(f.TimDay.Enabled());
  EXPECT_FALSE(f.Com[4].Visible);
  // fee, monster, fee, monster, fee of the day of arrival
  game.Rnd({0.505, 0.995, 0.105, 0.505, 0.205});
  f.TimDay_Timer();
  f.TimDay_Timer();
  EXPECT_TRUE(f.TimDay.Enabled());
  EXPECT_EQ(f.MatiNow, 0);
  f.TimDay_Timer();
  EXPECT_EQ(game.platform.QueuedDraws(), 0u);
  EXPECT_FALSE(f.TimDay.Enabled());
  EXPECT_EQ(f.StrVal[4], 4);
  EXPECT_EQ(f.Money, 10000 - 25 - 5 - 10);
  EXPECT_EQ(f.MatiNow, 2);
  EXPECT_EQ(f.LblGame.Caption, "ここは(水)　さしすの街・・・");
  EXPECT_EQ(f.LblMati.Caption, "(水)　さしす");
  EXPECT_TRUE(f.Com[4].Visible);
}

TEST(DayClock, MonsterBarsTheRoadOnADrawOfThirtyButNotThirtyOne) {
  Game game;
  game.StartInTown(0);
  Fom& f = *game.fom;
  SetOff(game, 0, 2);
  game.Rnd({0.0, 0.315});
  f.TimDay_Timer();
  EXPECT_FALSE(f.PicBtl.Visible);
  game.Rnd({0.0, 0.305, 0.0, 0.0, 0.0});
  f.TimDay_Timer();
  EXPECT_TRUE(f.PicBtl.Visible);
  EXPECT_FALSE(f.TimDay.Enabled());
  EXPECT_TRUE(f.TimBtl.Enabled());
}

TEST(DayClock, JourneyToTheCurrentTownTakesOneDayAndMeetsNoMonster) {
  Game game;
  game.StartInTown(0);
  Fom& f = *game.fom;
  SetOff(game, 1, 1);
  game.Rnd({0.0, 0.0});  // the fee, and a monster draw that must not come
  f.TimDay_Timer();
  EXPECT_EQ(game.platform.QueuedDraws(), 1u);
  EXPECT_FALSE(f.TimDay.Enabled());
  EXPECT_FALSE(f.PicBtl.Visible);
  EXPECT_EQ(f.StrVal[4], 2);
}

TEST(DayClock, BadEndingOnTheRoadStopsTheDayBeforeAnyMonster) {
  Game game;
  game.data.WriteScript("badend_day", {"一年が過ぎた", "tugi"});
  game.StartInTown(0);
  Fom& f = *game.fom;
  SetOff(game, 0, 1);
  f.StrVal[4] = 365;
  game.Rnd({0.0, 0.0});
  f.TimDay_Timer();
  EXPECT_EQ(game.platform.QueuedDraws(), 1u);
  EXPECT_FALSE(f.PicBtl.Visible);
  EXPECT_FALSE(f.TimDay.Enabled());
  EXPECT_EQ(f.MatiNow, 0);
}

}  // namespace
}  // namespace kiravel::testing
