#include <gtest/gtest.h>

#include <filesystem>

#include "platform/data_folder.h"
#include "testing/game_fixture.h"

namespace kiravel {
namespace {

using testing::Game;

void Resize(Game& game, std::int32_t outerHeight) {
  game.platform.SetWindowHeight(outerHeight);
  game.fom->Form_Resize();
}

TEST(Layout, WidthFollowsHeightAtFourToThreeWithHalvesToEven) {
  Game game;
  struct Case {
    std::int32_t height, width, base, small;
  };
  // 6015 / 6 and 6045 / 6 end in .5: 1002 and 1008 are the even neighbours.
  for (Case c : {Case{6000, 8000, 9, 7}, Case{9000, 12000, 12, 9}, Case{6015, 8016, 9, 7},
                 Case{6045, 8064, 9, 7}, Case{999, 1328, 3, 2}}) {
    game.platform.Place.Width = 20000;  // dragged wider by a side
    Resize(game, c.height);
    EXPECT_EQ(game.platform.Place.Width, c.width) << c.height;
    EXPECT_EQ(game.fom->fom.WindowWidth, c.width) << c.height;
    EXPECT_EQ(game.fom->BaseFontSize, c.base) << c.height;
    EXPECT_EQ(game.fom->SmallFontSize, c.small) << c.height;
    EXPECT_EQ(game.fom->Com[2].FontSize, c.base) << c.height;
    EXPECT_EQ(game.fom->LstIrai.FontSize, c.small) << c.height;
  }
}

TEST(Layout, WindowIsCentredOnTheScreen) {
  Game game;
  Resize(game, 6015);
  EXPECT_EQ(game.platform.Place.Left, (15360 - 8016) / 2);
  EXPECT_EQ(game.platform.Place.Top, 2752);  // 2752.5, halves to even
  EXPECT_EQ(game.fom->fom.WindowTop, 2752);
  game.platform.ScreenArea = ScreenSize{6000, 4000};
  Resize(game, 6000);
  EXPECT_EQ(game.platform.Place.Left, -1000);  // wider than the screen: both edges off it
}

// Below 800 twips there is no room for the game: fitted, but nothing moves.
TEST(Layout, LowWindowIsFittedButNotLaidOut) {
  Game game;
  Fom& f = *game.fom;
  double comTwips = f.Com[1].TopTwips;
  Resize(game, 700);
  EXPECT_EQ(game.platform.Place.Width, 936);
  EXPECT_EQ(f.BaseFontSize, 11);
  EXPECT_EQ(f.Com[1].TopTwips, comTwips);
  EXPECT_EQ(f.Com[1].FontSize, 11);
  Resize(game, 800);
  EXPECT_EQ(f.BaseFontSize, 3);
  EXPECT_DOUBLE_EQ(f.Com[1].TopTwips, 2.5 * 800 / 30);
}

// A maximised window cannot be moved: the fitting stops, the layout still follows its size.
TEST(Layout, RefusedFittingStillLaysOut) {
  Game game;
  game.platform.Fixed = true;
  WindowPlace before = game.platform.Place;
  Resize(game, 6000);
  EXPECT_EQ(game.platform.Place.Width, before.Width);
  EXPECT_EQ(game.platform.Place.Top, before.Top);
  EXPECT_EQ(game.fom->BaseFontSize, 9);
  EXPECT_NEAR(game.fom->Com[4].Top(), 10, 1e-9);
  EXPECT_EQ(game.fom->Pic.PictureFile, PictureFile("ttl"));
  EXPECT_TRUE(game.platform.Failures.empty());
}

// Children are placed in their panel's own units, so each panel's grid must
// be set before its children move, at any window size.
TEST(Layout, ChildrenLandOnTheirPanelsGrid) {
  Game game;
  Resize(game, 9000);  // client area 12000 × 9000 twips
  Fom& f = *game.fom;
  EXPECT_NEAR(f.ComStt[2].Top(), 7, 1e-9);
  EXPECT_NEAR(f.ComStt[2].TopTwips, 7 * 9000 / 30.0, 1e-6);
  EXPECT_NEAR(f.PicBar.WidthTwips, 20 * (24 * 12000 / 40.0) / 30, 1e-6);
  EXPECT_NEAR(f.ComHp.Left(), 1, 1e-9);
  EXPECT_NEAR(f.ComHp.LeftTwips, 1.2 * f.PicBar.WidthTwips / 3.4, 1e-6);
  EXPECT_NEAR(f.TxtBtl.Top(), 7, 1e-9);
  EXPECT_NEAR(f.PicBtlGrf.Height(), 6, 1e-9);
  EXPECT_NEAR(f.LblBtl[1].Left(), -10, 1e-9);
  EXPECT_NEAR(f.LblBtl[1].LeftTwips, 0, 1e-9);
  EXPECT_NEAR(f.LblStr[4].Top(), 4, 1e-9);
  EXPECT_NEAR(f.ComSkep.Height(), 12, 1e-9);
  EXPECT_NEAR(f.LstMati[0].Left(), 35, 1e-9);
  EXPECT_EQ(f.ComSkep.FontSize, 24);
  EXPECT_EQ(f.LblLstK[0].FontSize, 9);  // the headings keep the default size
}

TEST(Layout, CopiedColoursEqualTheirSources) {
  Game game;
  Fom& f = *game.fom;
  const Colour windowGrey = Rgb(160, 160, 160), battleGrey = Rgb(130, 130, 130),
               messageGrey = Rgb(170, 170, 170),
               white = Rgb(255, 255, 255), black = Rgb(0, 0, 0);
  EXPECT_EQ(f.fom.BackColor, windowGrey);
  EXPECT_EQ(f.LblGame.ForeColor, black);
  EXPECT_EQ(f.PicBtlStr.BackColor, messageGrey);
  EXPECT_EQ(f.LblBtl[1].BackColor, battleGrey);
  EXPECT_TRUE(f.LblBtl[1].Opaque);
  EXPECT_EQ(f.ComBtl.BackColor, windowGrey);
  EXPECT_EQ(f.Com[3].BackColor, battleGrey);
  EXPECT_EQ(f.TxtName.BackColor, battleGrey);
  EXPECT_EQ(f.LblDay.BackColor, Rgb(120, 120, 120));
  EXPECT_EQ(f.LblMati.ForeColor, white);
  EXPECT_EQ(f.LstSigoto[0].ForeColor, white);
  EXPECT_EQ(f.LblStr[2].ForeColor, white);
  EXPECT_EQ(f.PicStr.BackColor, black);
  EXPECT_EQ(f.ShpStr[0].FillColor, Rgb(255, 0, 255));
  EXPECT_EQ(f.ShpStr[3].FillColor, Rgb(255, 255, 0));
  EXPECT_EQ(f.ShpBtl[1].FillColor, white);
}

TEST(Layout, RunTimeTextsAndBordersAreSet) {
  Game game;
  Fom& f = *game.fom;
  EXPECT_EQ(f.ComSkep.Caption, "イベント\r\nスキップ");
  EXPECT_EQ(f.ComSkep.ToolTipText, "イベントをスキップします");
  EXPECT_EQ(f.ComHp.ToolTipText, "休んで体力を回復するよ、星屑がそれなりにかかるよ");
  EXPECT_EQ(f.ComStt[1].ToolTipText, "ハードモードで始めます、全ての機能が使えるかわり、難しいです");
  EXPECT_EQ(f.LblDay.ToolTipText, "所持金");
  EXPECT_EQ(f.LblLstK[1].Caption, "街▽");
  EXPECT_EQ(f.LblStr[3].ToolTipText, "体力");
  EXPECT_EQ(f.MenuCom.Caption, "MenuCom");
  EXPECT_FALSE(f.Pic.Border);
  EXPECT_FALSE(f.TxtBtl.Border);
  EXPECT_TRUE(f.PicStr.Border);
}

// The white shadow must lie under the story text, not over it.
TEST(Layout, ShadowLiesBehindTheStoryTextAfterEveryRun) {
  Game game;
  Fom& f = *game.fom;
  f.Lbl.ZOrder = -5;
  Resize(game, 6000);
  EXPECT_LT(f.LblBak.ZOrder, f.Lbl.ZOrder);
  EXPECT_LT(f.LblBak.ZOrder, f.LblGame.ZOrder);
  int settled = f.LblBak.ZOrder;
  Resize(game, 6000);
  EXPECT_EQ(f.LblBak.ZOrder, settled);
}

TEST(Layout, BarsKeepTheirMeaningAcrossResizes) {
  Game game;
  Fom& f = *game.fom;
  f.ShpStr[3].SetWidth(100);
  f.ShpStr[1].SetWidth(37.5);
  f.ShpBtl[0].SetWidth(73);
  Resize(game, 6000);
  // A status bar is its value in the panel's units; the battle bars go back to 10.
  EXPECT_NEAR(f.ShpStr[1].Width(), 37.5, 1e-9);
  EXPECT_NEAR(f.ShpBtl[0].Width(), 10, 1e-9);
  EXPECT_NEAR(f.ShpBtl[1].Width(), 10, 1e-9);
  // A full bar reaches past the visible 90 and is clipped there.
  const Shape& full = f.ShpStr[3];
  EXPECT_NEAR(full.Left() + full.Width(), 100, 1e-9);
  EXPECT_NEAR(f.PicStr.ScaleLeft() + f.PicStr.ScaleWidth(), 90, 1e-9);
  EXPECT_NEAR(f.PicBtlStr.ScaleLeft() + f.PicBtlStr.ScaleWidth(), 90, 1e-9);
}

// The layout only ever shows: the game decides which panels are up.
TEST(Layout, PanelsKeepTheVisibilityTheGameGaveThem) {
  Game game;
  Fom& f = *game.fom;
  f.PicStt.Visible = false;
  f.PicBar.Visible = true;
  f.Com[0].Visible = false;
  f.ShpStr[2].Visible = false;
  Resize(game, 6000);
  EXPECT_FALSE(f.PicStt.Visible);
  EXPECT_TRUE(f.PicBar.Visible);
  EXPECT_FALSE(f.PicBtl.Visible);
  EXPECT_FALSE(f.Com[0].Visible);
  EXPECT_TRUE(f.ShpStr[2].Visible);
}

TEST(Layout, EveryRunRepaintsTheTitleInBothPanels) {
  Game game;
  Fom& f = *game.fom;
  f.ShowTtlPicture("mati");
  f.ShowMonPicture("1");
  Resize(game, 6000);
  EXPECT_EQ(f.Pic.PictureFile, PictureFile("ttl"));
  EXPECT_EQ(f.PicBtlGrf.PictureFile, PictureFile("ttl"));
}

// A missing title picture used to end the run in a runtime error on the retry.
TEST(Layout, MissingTitleIsRetriedOnceThenTheRunEndsQuietly) {
  Game game;
  std::filesystem::remove(game.data.Path() + PictureFile("ttl"));
  std::vector<std::string> requests;
  game.fom->OnPictureRequest = [&](const PictureBox& panel, const std::string&, bool ok) {
    requests.push_back(panel.Id() + (ok ? " ok" : " failed"));
  };
  Resize(game, 6000);
  EXPECT_EQ(requests, (std::vector<std::string>{"Pic failed", "Pic failed"}));
  EXPECT_EQ(game.fom->BaseFontSize, 9);
  Resize(game, 9000);
  EXPECT_EQ(game.fom->BaseFontSize, 12);
  EXPECT_EQ(game.platform.Failures.size(), 1u);

  // A refusal already spent the run's one error: no retry.
  requests.clear();
  game.platform.Fixed = true;
  Resize(game, 6000);
  EXPECT_EQ(requests, (std::vector<std::string>{"Pic failed"}));
}

}  // namespace
}  // namespace kiravel
