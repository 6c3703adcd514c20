// A bad ending can begin in the middle of whatever the courier was doing:
// paying for a rumour, a fairy or a rest, a penalty at the tavern, a day on
// the road, a monster's blow. Whatever it was must stop there, so that the
// ending plays to its last line with nothing shown over it, and the start
// panel follows.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/data_folder.h"
#include "testing/game_fixture.h"

namespace kiravel::testing {
namespace {

class EndingMidway : public ::testing::Test {
 protected:
  void SetUp() override {
    game.data.WriteScript("badend_hp", {"力尽きた", "二", "三", "四", "五", "六", "倒れた", ">end"});
    game.data.WriteScript("badend_day", {"一年が", "二", "三", "四", "五", "六", "過ぎた", ">end"});
    game.data.WriteScript("00", {"物語", "tugi"});
    game.StartInTown(1);
    game.SetTowns({0, 1, 2}, 0);
    f.StrVal[4] = 10;
  }

  // The ending is the one scene on the screen: no command, tavern, battle or
  // message over it, no clock running under it, no way to skip it.
  void ExpectShownAlone(const std::string& ending) {
    EXPECT_EQ(f.ScriptFile, TextFolderPath() + ending + kDataEnding);
    EXPECT_TRUE(f.Lbl.Visible);
    EXPECT_FALSE(f.LblGame.Visible);
    EXPECT_FALSE(f.PicBar.Visible);
    EXPECT_FALSE(f.PicBtl.Visible);
    EXPECT_FALSE(f.PicStt.Visible);
    for (int i = 0; i < 5; ++i) EXPECT_FALSE(f.Com[i].Visible) << "Com(" << i << ")";
    EXPECT_FALSE(f.ComSkep.Enabled);
    EXPECT_FALSE(f.TimDay.Enabled());
    EXPECT_FALSE(f.TimBtl.Enabled());
  }

  // Clicks through the ending; its last line must be read and the start
  // panel must follow, with no file left open.
  void ExpectPlaysToTheStartPanel(const std::string& lastLine) {
    bool lastLineRead = false;
    for (int click = 0; click < 20 && !f.PicStt.Visible; ++click) {
      lastLineRead = lastLineRead || f.Lbl.Caption.find(lastLine) != std::string::npos;
      f.Lbl_Click();
    }
    EXPECT_TRUE(lastLineRead);
    EXPECT_TRUE(f.PicStt.Visible);
    EXPECT_EQ(f.Files.OpenCount(), 0);
  }

  // A job for town 2, due on day 3.
  void AddOverdueJob(const std::string& reward) {
    const std::vector<std::string> columns = {"遅れた荷", "0", reward, "0", "2", "3"};
    for (int c = 0; c < 6; ++c) f.LstSigoto[c].AddItem(columns[c]);
  }

  Game game;
  Fom& f = *game.fom;
};

TEST_F(EndingMidway, RumourWhosePriceEndsTheGameReadsNoRumourAndAddsNoTownOrDay) {
  f.Money = 0;
  f.StrVal[3] = 1;
  game.Rnd({0.99, 0.5});  // heard, for 500 star grains
  f.Com_Click(2);
  ExpectShownAlone("badend_hp");
  EXPECT_EQ(f.LstMati[0].ListCount(), 3);
  EXPECT_EQ(f.StrVal[4], 10);
  ExpectPlaysToTheStartPanel("倒れた");
}

TEST_F(EndingMidway, FairyWhosePriceEndsTheGameStaysInTheForestAndNoDayEndsTheYearOverIt) {
  f.Money = 0;
  f.StrVal[3] = 100;
  f.StrVal[4] = 365;
  game.Rnd({0.0, 0.9});  // found, for 2700 star grains
  f.Com_Click(1);
  ExpectShownAlone("badend_hp");
  EXPECT_EQ(f.LstYou[0].ListCount(), 3);
  ExpectPlaysToTheStartPanel("倒れた");
}

TEST_F(EndingMidway, TavernPenaltyThatEndsTheGameOpensNoTavernOverTheEnding) {
  f.Money = 0;
  f.StrVal[3] = 100;
  AddOverdueJob("100");
  AddOverdueJob("300");  // settled first: fails on day 10, costing 600 on hard
  f.Com_Click(3);
  ExpectShownAlone("badend_hp");
  EXPECT_EQ(f.LstIrai.ListCount(), 0);
  EXPECT_EQ(f.LstSigoto[0].ListCount(), 1) << "the jobs after the ending are not settled";
  ExpectPlaysToTheStartPanel("倒れた");
}

TEST_F(EndingMidway, TavernPriceAndRestThatEndTheGameLeaveTheTavernBehind) {
  f.Money = 0;
  f.StrVal[3] = 100;
  game.Rnd({0.5, 0, 0, 0.5, 0, 0, 0.5, 0, 0, 0.5, 0, 0});  // four offers
  f.Com_Click(3);
  ExpectShownAlone("badend_hp");
  ExpectPlaysToTheStartPanel("倒れた");

  game.StartInTown(1);
  f.Money = 300;
  f.Com_Click(3);
  ASSERT_TRUE(f.PicBar.Visible) << "a new game plays on after an ending";
  f.StrVal[3] = 100;
  game.Rnd({0.0});
  f.ComHp_Click();
  ExpectShownAlone("badend_hp");
  ExpectPlaysToTheStartPanel("倒れた");
}

TEST_F(EndingMidway, StoryEventOnTheLastDayLeavesTheYearsEndPlaying) {
  f.StrVal[4] = 365;
  f.EnterTown();
  ASSERT_TRUE(f.Com[0].Visible);
  f.Com_Click(0);
  ExpectShownAlone("badend_day");
  EXPECT_EQ(f.IveCount[0], 0) << "the story event was not started";
  ExpectPlaysToTheStartPanel("過ぎた");
}

TEST_F(EndingMidway, DayOnTheRoadEndsTheGameOnceAndMeetsNoMonster) {
  f.LstMati[0].ListIndex = 2;
  f.Com_Click(4);
  f.StrVal[4] = 365;
  f.Money = 0;
  f.StrVal[3] = 10;
  game.Rnd({0.5, 0.0});  // a fee of 50 the courier cannot pay, then a monster
  f.TimDay_Timer();
  ExpectShownAlone("badend_day");
  ExpectPlaysToTheStartPanel("過ぎた");

  game.StartInTown(1);
  game.SetTowns({0, 1, 2}, 0);
  f.LstMati[0].ListIndex = 2;
  f.Com_Click(4);
  f.Money = 0;
  f.StrVal[3] = 10;
  game.Rnd({0.5, 0.0});
  f.TimDay_Timer();
  ExpectShownAlone("badend_hp");
  ExpectPlaysToTheStartPanel("倒れた");
}

TEST_F(EndingMidway, MonstersBlowThatEndsTheGameClosesTheBattle) {
  f.LstMati[0].ListIndex = 2;
  f.Com_Click(4);
  game.Rnd({0.0, 0.0, 0.0, 0.5, 0.5});  // no fee, a monster of 火
  f.TimDay_Timer();
  ASSERT_TRUE(f.PicBtl.Visible);
  f.BtlPow = 100;
  f.StrVal[3] = 10;
  game.Rnd({0.5, 0.5});
  f.TimBtl_Timer();
  ExpectShownAlone("badend_hp");
  ExpectPlaysToTheStartPanel("倒れた");
}

// An author's ending may close as any scene does, by "tugi" or at the end of
// its file, and return to the town; or a start button may be chosen while it
// is still on the screen. However the ending's script closes, the game that
// follows goes on as if no ending had begun: journeys arrive, story scenes
// start, and a later ending can begin.
class EndingThatCloses : public ::testing::TestWithParam<std::vector<std::string>> {
 protected:
  void SetUp() override {
    std::vector<std::string> ending = {"力尽きた", "倒れた"};
    for (const std::string& line : GetParam()) ending.push_back(line);
    game.data.WriteScript("badend_hp", ending);
    game.data.WriteScript("00", {"物語", "tugi"});
    game.StartInTown(1);
    game.SetTowns({0, 1, 2}, 0);
    f.StrVal[4] = 10;
  }

  // A journey to town 2 with the courier's last strength: the day's fee of
  // 50 cannot be paid.
  void EndOnTheRoad() {
    f.LstMati[0].ListIndex = 2;
    f.Com_Click(4);
    f.Money = 0;
    f.StrVal[3] = 0;
    game.Rnd({0.5});
    f.TimDay_Timer();
    ASSERT_EQ(f.ScriptFile, TextFile("badend_hp"));
  }

  void ReadToTheEnd() {
    for (int click = 0; click < 10 && !f.ScriptFile.empty(); ++click) f.Lbl_Click();
    ASSERT_TRUE(f.ScriptFile.empty());
  }

  void ExpectTheGameGoesOn() {
    f.Money = 1000;
    f.StrVal[3] = 500;
    f.LstMati[0].ListIndex = 1;
    f.Com_Click(4);
    ASSERT_TRUE(f.TimDay.Enabled());
    for (int day = 0; day < 40 && f.TimDay.Enabled(); ++day) {
      game.Rnd({0.0, 0.99});  // no fee, no monster
      f.TimDay_Timer();
    }
    EXPECT_FALSE(f.TimDay.Enabled()) << "the journey arrives";
    EXPECT_EQ(f.MatiNow, 1);
    EXPECT_GT(f.TripDay, f.TripDays);

    f.MatiNow = 0;
    f.EnterTown();
    ASSERT_TRUE(f.Com[0].Visible);
    f.Com_Click(0);
    EXPECT_EQ(f.ScriptFile, TextFile("00")) << "a story scene starts";
    f.ComSkep_Click();

    EndOnTheRoad();  // and a later ending begins
  }

  Game game;
  Fom& f = *game.fom;
};

TEST_P(EndingThatCloses, WhenReadToItsLastLine) {
  EndOnTheRoad();
  ReadToTheEnd();
  if (f.PicStt.Visible) {
    game.StartInTown(1);
    game.SetTowns({0, 1, 2}, 0);
  }
  ExpectTheGameGoesOn();
}

TEST_P(EndingThatCloses, WhenAStartButtonIsChosenOverIt) {
  EndOnTheRoad();
  game.StartInTown(1);
  game.SetTowns({0, 1, 2}, 0);
  EXPECT_EQ(f.Files.OpenCount(), 0) << "the ending's file is closed with it";
  ExpectTheGameGoesOn();
}

INSTANTIATE_TEST_SUITE_P(Closings, EndingThatCloses,
                         ::testing::Values(std::vector<std::string>{">end"},
                                           std::vector<std::string>{"tugi"},
                                           std::vector<std::string>{}));

}  // namespace
}  // namespace kiravel::testing
