#include <limits>

#include <gtest/gtest.h>

#include "testing/game_fixture.h"

namespace kiravel::testing {
namespace {

using Row = std::array<Variant, 6>;
constexpr int kLastPosition = std::numeric_limits<std::int16_t>::max();

// An accepted job as the six job lists hold it.
void AddJob(Fom& f, const std::string& text, int attribute, int reward, int from, int to,
            int due) {
  const std::string fields[] = {text,        CStr(attribute), CStr(reward),
                                CStr(from),  CStr(to),        CStr(due)};
  for (int c = 0; c < 6; ++c) f.LstSigoto[c].AddItem(fields[c]);
}

TEST(Tavern, OffersShowCargoDestinationRewardDueDayAndStatus) {
  Game game;
  game.StartInTown(0);  // easy: up to 29 days of slack
  Fom& f = *game.fom;
  game.SetTowns({0, 1, 2}, 0);
  f.StrVal[4] = 10;
  // destination, cargo and slack of the first two offers
  game.Rnd({0.9, 0.9, 0.0, 0.5, 0.25, 0.999});
  f.VisitBar();
  EXPECT_EQ(f.LblGame.Caption, "酒場・・・・");
  ASSERT_EQ(f.LstIrai.ListCount(), 4);
  EXPECT_EQ(f.LstIrai.List(0), "物[歩人]　先[(水)　さしす]　\\600　〆12日　↑水");
  EXPECT_EQ(f.IraiTbl[0], (Row{4, std::string("2"), 600, 0, 2, 12}));
  EXPECT_EQ(f.LstIrai.List(1), "物[手紙]　先[(草)　かきく]　\\200　〆40日　↑草");
  EXPECT_TRUE(f.PicBar.Visible);
}

TEST(Tavern, OffersNeverGoToTheCurrentTown) {
  Game game;
  game.StartInTown(0);
  Fom& f = *game.fom;
  game.SetTowns({0, 1, 2}, 1);
  game.Rnd({0.5, 0.0});  // town 1 is drawn again
  f.VisitBar();
  EXPECT_EQ(f.IraiTbl[0][4], Variant{0});
  for (int visit = 0; visit < 50; ++visit) {
    f.VisitBar();
    for (const Row& row : f.IraiTbl) ASSERT_NE(row[4], Variant{1});
  }
}

// With one town every draw would name the courier's own town.
TEST(Tavern, OneKnownTownMakesNoOffers) {
  Game game;
  game.StartInTown(0);
  Fom& f = *game.fom;
  f.VisitBar();
  game.SetTowns({0}, 0);
  game.Rnd({0.5});
  f.VisitBar();
  EXPECT_EQ(f.LstIrai.ListCount(), 0);
  for (const Row& row : f.IraiTbl) EXPECT_EQ(row, Row{});
  EXPECT_EQ(game.platform.QueuedDraws(), 1u);
  EXPECT_TRUE(f.PicBar.Visible);
}

TEST(Tavern, PaysJobsHereEvenLateAndFailsOverdueOnesElsewhere) {
  Game game;
  game.StartInTown(0);
  Fom& f = *game.fom;
  game.SetTowns({0, 1, 2}, 1);
  f.StrVal[4] = 25;
  f.Money = 1000;
  AddJob(f, "A", 0, 300, 0, 1, 20);  // late, but delivered here
  AddJob(f, "B", 1, 200, 1, 2, 25);  // due today: not yet failed
  AddJob(f, "C", 2, 100, 0, 1, 30);
  AddJob(f, "D", 0, 300, 1, 0, 24);
  game.Rnd({0.0, 0.995});  // the gains of C, then A
  f.VisitBar();
  EXPECT_EQ(f.LblGame.Caption,
            "酒場・・・・\r\n依頼失敗しました！D\r\n依頼解決ました！C\r\n依頼解決ました！A");
  EXPECT_EQ(f.Money, 1000 - 300 + 100 + 300);
  EXPECT_EQ(f.StrVal[2], 101);
  EXPECT_EQ(f.StrVal[0], 130);
  for (int c = 0; c < 6; ++c) EXPECT_EQ(f.LstSigoto[c].ListCount(), 1);
  EXPECT_EQ(f.LstSigoto[0].List(0), "B");

  f.StrVal[4] = 26;
  f.VisitBar();
  EXPECT_EQ(f.LstSigoto[0].ListCount(), 0);
  EXPECT_EQ(f.Money, 1100 - 200);
}

TEST(Tavern, PenaltyIsTheRewardTimesTheLevelFactorWithinSixteenBits) {
  const int penalty[] = {300, 600};
  for (std::int16_t level : {0, 1}) {
    Game game;
    game.StartInTown(level);
    Fom& f = *game.fom;
    game.SetTowns({0, 1, 2}, 0);
    f.StrVal[4] = 26;
    f.Money = 1000;
    AddJob(f, "A", 0, 300, 1, 2, 25);
    f.VisitBar();
    EXPECT_EQ(f.Money, 1000 - penalty[level]);
  }
  Game hard;
  hard.StartInTown(1);
  hard.SetTowns({0, 1, 2}, 0);
  hard.fom->StrVal[4] = 26;
  hard.fom->Money = 40000;
  AddJob(*hard.fom, "A", 0, 32767, 1, 2, 25);
  hard.fom->VisitBar();
  EXPECT_EQ(hard.fom->Money, 40000 - 32768);
}

TEST(Tavern, AcceptingAnOfferClosesTheGapInTheTable) {
  Game game;
  game.StartInTown(0);
  Fom& f = *game.fom;
  game.SetTowns({0, 1, 2, 0, 1}, 2);
  f.ComIrai_Click();
  EXPECT_EQ(game.MessageTexts(), (std::vector<std::string>{"依頼を選んで下さい"}));
  EXPECT_EQ(f.LstSigoto[0].ListCount(), 0);

  f.VisitBar();
  const auto rows = f.IraiTbl;
  const auto offers = f.LstIrai.Items();
  f.LstIrai.ListIndex = 1;
  f.ComIrai_Click();
  EXPECT_EQ(f.LstIrai.Items(), (std::vector<std::string>{offers[0], offers[2], offers[3]}));
  EXPECT_EQ(f.IraiTbl[1], rows[2]);
  EXPECT_EQ(f.IraiTbl[2], rows[3]);
  f.LstIrai.ListIndex = 1;
  f.ComIrai_Click();
  for (int job = 0; job < 2; ++job) {
    int row = job == 0 ? 1 : 2;
    EXPECT_EQ(f.LstSigoto[0].List(job), offers[static_cast<std::size_t>(row)]);
    for (int c = 1; c <= 5; ++c) EXPECT_EQ(f.LstSigoto[c].List(job), VariantText(rows[row][c]));
  }
}

TEST(Tavern, RewardAndDueDayBeyondSixteenBitsAreClampedInTheOffer) {
  Game game;
  game.StartInTown(0);
  Fom& f = *game.fom;
  game.SetTowns({}, 0);
  for (int i = 0; i < kLastPosition; ++i) f.AddTown("あいう", 1);
  f.StrVal[4] = 300;
  game.Rnd({0.99999, 0.9, 0.5});
  f.VisitBar();
  EXPECT_EQ(f.IraiTbl[0], (Row{4, std::string("1"), 32767, 0, 32766, 32767}));
  EXPECT_EQ(f.LstIrai.List(0), "物[歩人]　先[(草)　あいう]　\\32767　〆32767日　↑草");
}

TEST(Tavern, FullJobListTakesNoMoreJobs) {
  Game game;
  game.StartInTown(0);
  Fom& f = *game.fom;
  f.VisitBar();
  for (int i = 0; i < kLastPosition; ++i) AddJob(f, "A", 0, 100, 0, 1, 300);
  f.LstIrai.ListIndex = 0;
  f.ComIrai_Click();
  EXPECT_EQ(f.LstSigoto[0].ListCount(), kLastPosition);
  EXPECT_EQ(f.LstSigoto[5].ListCount(), kLastPosition);
  EXPECT_EQ(f.LstIrai.ListCount(), 4);
}

}  // namespace
}  // namespace kiravel::testing
