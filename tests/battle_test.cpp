#include <gtest/gtest.h>

#include "platform/data_folder.h"
#include "testing/game_fixture.h"

namespace kiravel::testing {
namespace {

// Replaces the fairies by ones of these attributes, named after them.
void SetFairies(Fom& f, std::initializer_list<int> attributes) {
  f.LstYou[0].Clear();
  f.LstYou[1].Clear();
  for (int attribute : attributes) {
    f.LstYou[0].AddItem("[" + f.StrName[attribute] + "] よう");
    f.LstYou[1].AddItem(CStr(attribute));
  }
}

TEST(Battle, MonsterToughensWithTheCourierStrengthInItsAttribute) {
  Game game;
  game.StartInTown(1);
  Fom& f = *game.fom;
  f.StrVal[0] = 1000;
  f.StrVal[3] = 100;
  f.TimDay.SetEnabled(true);
  game.Rnd({0.0, 0.5, 0.5});
  f.MonsterAppears();
  EXPECT_EQ(f.BtlAttr, 0);
  EXPECT_EQ(f.BtlPow, 45);
  EXPECT_EQ(f.BtlHp, 2101);
  EXPECT_EQ(f.BtlHpMax, 2101);
  EXPECT_EQ(f.LblGame.Caption, "火属性の魔物が出現した！");
  EXPECT_EQ(f.PicBtlGrf.PictureFile, PictureFile("mon0"));
  EXPECT_NEAR(f.ShpBtl[0].Width(), 100, 1e-9);
  EXPECT_NEAR(f.ShpBtl[1].Width(), 100.0 / 2101 * 1000, 1e-9);
  EXPECT_FALSE(f.TimDay.Enabled());
  EXPECT_TRUE(f.TimBtl.Enabled());
  EXPECT_TRUE(f.PicBtl.Visible);
  EXPECT_TRUE(f.PicBtlStr.Visible);
  EXPECT_EQ(f.ComBtl.Caption, "笛を吹く");

  f.HitMonster(1101);
  EXPECT_TRUE(f.PicBtlStr.Visible) << "1000 is not below the courier's 1000";
  EXPECT_NEAR(f.ShpBtl[0].Width(), 100.0 / 2101 * 1000, 1e-9);
  f.HitMonster(1);
  EXPECT_FALSE(f.PicBtlStr.Visible);
  EXPECT_FALSE(f.TimBtl.Enabled());
  EXPECT_EQ(f.ComBtl.Caption, "魔物を追っ払った！");
  EXPECT_NEAR(f.ShpBtl[0].Width(), 100.0 / 2101 * 1000, 1e-9) << "the bar keeps its last width";
}

// Every fairy still answers after the monster has fled within the same blow;
// the journey waits for the second blow.
TEST(Battle, MonsterOfAnAttributeAtZeroFleesFromAnyStrike) {
  Game game;
  game.StartInTown(1);
  Fom& f = *game.fom;
  SetFairies(f, {0, 0});
  f.StrVal[1] = 0;
  game.Rnd({0.5, 0.0, 0.0});
  f.MonsterAppears();
  EXPECT_EQ(f.BtlHp, 1);
  EXPECT_NEAR(f.ShpBtl[1].Width(), 0, 1e-9);
  game.Rnd({0.0, 0.0, 0.0, 0.0});
  f.ComBtl_Click();
  EXPECT_EQ(game.platform.QueuedDraws(), 0u);
  EXPECT_EQ(f.BtlHp, 1 - 50 - 50);
  EXPECT_EQ(f.LblGame.Caption, "笛を吹いた！");
  EXPECT_FALSE(f.TimDay.Enabled());
  f.ComBtl_Click();
  EXPECT_FALSE(f.PicBtl.Visible);
  EXPECT_TRUE(f.TimDay.Enabled());
}

TEST(Battle, FairyOfTheMonsterAttributeStrikesThreeTimesAsHard) {
  Game game;
  game.StartInTown(1);
  Fom& f = *game.fom;
  SetFairies(f, {2, 0, 1});
  f.StrVal[2] = 1000;
  game.Rnd({0.995, 0.0, 0.9});
  f.MonsterAppears();
  ASSERT_EQ(f.BtlHp, 600 + 2700 + 1);
  // answers at 50 on hard, not at 51
  game.Rnd({0.505, 0.0, 0.515, 0.0, 0.995});
  f.ComBtl_Click();
  EXPECT_EQ(game.platform.QueuedDraws(), 0u);
  EXPECT_EQ(f.BtlHp, 3301 - 150 - 99);
  EXPECT_EQ(f.TxtBtl.Text,
            "[草] ようが来てくれた！99アタック！\r\n[水] ようが来てくれた！150アタック！\r\n");
}

TEST(Battle, AttacksWearTheAttributeDownButOnlyStaminaEndsTheGame) {
  Game game;
  game.data.WriteScript("badend_hp", {"力尽きた", "tugi"});
  game.StartInTown(1);
  Fom& f = *game.fom;
  f.StrVal[3] = 100;
  game.Rnd({0.0, 0.5, 0.5});
  f.MonsterAppears();
  f.StrVal[0] = 10;
  game.Rnd({0.5, 0.5});
  f.TimBtl_Timer();
  EXPECT_EQ(f.LblGame.Caption, "魔物の攻撃！");
  EXPECT_EQ(f.StrVal[0], 0);
  EXPECT_EQ(f.StrVal[3], 100 - 22);
  EXPECT_TRUE(f.ComSkep.Enabled);
  f.StrVal[3] = 10;
  game.Rnd({0.0, 0.5});
  f.TimBtl_Timer();
  EXPECT_FALSE(f.ComSkep.Enabled);
  EXPECT_FALSE(f.TimBtl.Enabled());
  EXPECT_FALSE(f.PicBtl.Visible);
}

TEST(Battle, HitPointsStopAtTheSixteenBitFloor) {
  Game game;
  game.StartInTown(1);
  Fom& f = *game.fom;
  f.BtlAttr = 0;
  f.BtlHp = -32700;
  f.HitMonster(297);
  EXPECT_EQ(f.BtlHp, -32768);
}

}  // namespace
}  // namespace kiravel::testing
