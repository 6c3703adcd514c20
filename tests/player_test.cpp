#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "platform/data_folder.h"
#include "testing/game_fixture.h"

namespace kiravel {
namespace {

// A game past the start panel, playing scenes written into its data folder.
class ScenePlayer : public ::testing::Test {
 protected:
  ScenePlayer() {
    fom().PicStt.Visible = false;
    fom().OnPictureRequest = [this](const PictureBox& panel, const std::string& file, bool) {
      pictures.push_back(panel.Name + ":" + file);
    };
  }

  Fom& fom() { return *game.fom; }
  const std::string& Caption() { return fom().Lbl.Caption; }

  void KnowATown() {
    fom().LstMati[0].AddItem("(火)　あいう");
    fom().LstMati[1].AddItem("0");
  }

  void Play(const std::vector<std::string>& lines, std::int32_t interval = 100) {
    game.data.WriteScript("s", lines);
    fom().TimSay.SetInterval(interval);
    fom().StartEvent("s");
  }

  // A tick as the window delivers it: only while the timer runs.
  bool Tick() {
    if (!fom().TimSay.Enabled() || fom().TimSay.Interval() == 0) return false;
    fom().TimSay_Timer();
    return true;
  }

  void Click() { fom().Lbl_Click(); }

  bool InTownView() {
    return !fom().Lbl.Visible && !fom().ComSkep.Visible && fom().LblGame.Visible &&
           fom().Com[1].Visible;
  }

  testing::Game game;
  std::vector<std::string> pictures;
};

TEST_F(ScenePlayer, SevenLinesTypeOnePerTickAndWaitAtEachPageEnd) {
  Play({"一", "二", "三", "四", "五", "六", "七"});
  EXPECT_EQ(Caption(), "\r\n一");
  EXPECT_TRUE(fom().TimSay.Enabled());
  for (int i = 0; i < 3; ++i) ASSERT_TRUE(Tick());
  EXPECT_EQ(Caption(), "\r\n一\r\n二\r\n三\r\n四");
  ASSERT_TRUE(Tick());
  EXPECT_EQ(Caption(), "\r\n一\r\n二\r\n三\r\n四\r\n五▼");
  EXPECT_EQ(fom().LblBak.Caption, Caption());
  EXPECT_FALSE(Tick());

  Click();
  EXPECT_EQ(Caption(), "\r\n六");
  ASSERT_TRUE(Tick());
  EXPECT_EQ(Caption(), "\r\n六\r\n七▼");
  EXPECT_FALSE(Tick());

  Click();
  EXPECT_TRUE(InTownView());
  EXPECT_EQ(fom().Files.OpenCount(), 0);
  // Left running after the closing click, but with nothing to play.
  EXPECT_TRUE(fom().TimSay.Enabled());
}

TEST_F(ScenePlayer, WithoutTextSpeedEachLineWaitsBehindAnOpenMark) {
  Play({"一", "二", "三", "四", "五", "六", "七"}, 0);
  EXPECT_EQ(Caption(), "\r\n一▽");
  Click();
  EXPECT_EQ(Caption(), "\r\n一\r\n二▽");
  for (int i = 0; i < 3; ++i) Click();
  EXPECT_EQ(Caption(), "\r\n一\r\n二\r\n三\r\n四\r\n五▼");
  Click();
  EXPECT_EQ(Caption(), "\r\n六▽");
  Click();
  EXPECT_EQ(Caption(), "\r\n六\r\n七▼");
  Click();
  EXPECT_TRUE(InTownView());
}

// The courier's name may itself hold the name mark; it must not be replaced again.
TEST_F(ScenePlayer, CourierNameFillsEveryMarkOnce) {
  fom().TxtName.Text = "ア-mイ";
  Play({"-mは", "あ-mい", "さよなら-m", "-mと-m"});
  for (int i = 0; i < 3; ++i) ASSERT_TRUE(Tick());
  EXPECT_EQ(Caption(), "\r\nア-mイは\r\nあア-mイい\r\nさよならア-mイ\r\nア-mイとア-mイ▼");
}

// An empty line must never leave the player waiting on a blank, not even
// when it is the last of its page.
TEST_F(ScenePlayer, EmptyLineShowsTogetherWithTheNextOne) {
  Play({"一", "", "二", "三"});
  ASSERT_TRUE(Tick());
  EXPECT_EQ(Caption(), "\r\n一\r\n\r\n二");
  EXPECT_EQ(fom().SayLine, "三");

  Play({"1", "2", "3", "4", "", "6", "7"});
  for (int i = 0; i < 3; ++i) ASSERT_TRUE(Tick());
  ASSERT_TRUE(Tick());
  EXPECT_EQ(Caption(), "\r\n6");
  EXPECT_EQ(fom().SayLine, "7");
}

TEST_F(ScenePlayer, PictureLinesShowTheirPictureAndTheNextLineInOneStep) {
  game.data.WritePicture("12");
  Play({"一", ">img", "二", ">img 12", "三", "四"});
  pictures.clear();
  ASSERT_TRUE(Tick());
  EXPECT_EQ(Caption(), "\r\n一\r\n二");
  ASSERT_TRUE(Tick());
  EXPECT_EQ(Caption(), "\r\n一\r\n二\r\n三");
  EXPECT_EQ(pictures, (std::vector<std::string>{"Pic:" + PictureFile("ttl"), "Pic:" + PictureFile("12")}));
}

TEST_F(ScenePlayer, NewPageLineEndsThePageAndItsPageHoldsSixLines) {
  Play({"一", "二", ">p", "三", "四", "五", "六", "七", "八", "九"});
  ASSERT_TRUE(Tick());
  EXPECT_EQ(Caption(), "\r\n一\r\n二▼");
  fom().TimSay_Timer();  // a tick that was already due must not turn the page
  EXPECT_EQ(Caption(), "\r\n一\r\n二▼");

  Click();
  EXPECT_EQ(Caption(), "\r\n三");
  for (int i = 0; i < 5; ++i) ASSERT_TRUE(Tick());
  EXPECT_EQ(Caption(), "\r\n三\r\n四\r\n五\r\n六\r\n七\r\n八▼");
  EXPECT_EQ(fom().SayLine, "九");
}

// Only a line that is exactly ">p" ends the page in front of it.
TEST_F(ScenePlayer, LongerNewPageLineTurnsThePageOnlyWhenReached) {
  Play({"一", ">pのつづき", "二", "三"});
  EXPECT_EQ(Caption(), "\r\n一");
  ASSERT_TRUE(Tick());
  EXPECT_EQ(Caption(), "\r\n二");
}

TEST_F(ScenePlayer, PauseMarkStopsTheTimerButAClickShowsIt) {
  Play({"一", ">ive", "二"});
  EXPECT_EQ(Caption(), "\r\n一▼");
  fom().TimSay_Timer();
  EXPECT_EQ(fom().SayLine, ">ive");
  Click();
  EXPECT_EQ(Caption(), "\r\n>ive");
}

TEST_F(ScenePlayer, CountedStepsGoOnAcrossAPageEnd) {
  Play({"1", "2", "3", "--3", "4", "5", "6", "7"});
  for (int i = 0; i < 2; ++i) ASSERT_TRUE(Tick());
  ASSERT_TRUE(Tick());
  EXPECT_EQ(Caption(), "\r\n6");
  EXPECT_EQ(fom().SayLine, "7");
  EXPECT_FALSE(fom().TimSay.Enabled());  // stopped at the page end passed on the way
}

// An inner count must not use up the outer one's steps.
TEST_F(ScenePlayer, InnerCountRunsAsOneOfTheOuterSteps) {
  Play({"--3", "a", "--2", "b", "c", "d", "e"}, 0);
  EXPECT_EQ(Caption(), "\r\na\r\nb\r\nc\r\nd▽");
  EXPECT_EQ(fom().SayLine, "e");
}

TEST_F(ScenePlayer, CountIsReadAsAHeadingNumber) {
  Play({"--abc", "a", "b"}, 0);
  EXPECT_EQ(Caption(), "");
  EXPECT_EQ(fom().SayLine, "a");

  Play({"--2x", "a", "b", "c"}, 0);
  EXPECT_EQ(Caption(), "\r\na\r\nb▽");

  Play({"---1", "a"}, 0);
  EXPECT_EQ(Caption(), "");
  EXPECT_EQ(fom().SayLine, "a");
}

TEST_F(ScenePlayer, HugeCountStopsAtTheEndOfTheScene) {
  KnowATown();
  Play({"--2000000000", "a", "b"});
  EXPECT_TRUE(InTownView());
  EXPECT_EQ(fom().Files.OpenCount(), 0);
}

// Each of these would nest one call per line if the player called itself.
TEST_F(ScenePlayer, LongRunsOfChainedLinesDoNotExhaustTheStack) {
  const auto playRepeated = [this](const std::string& line, int times, const std::string& last) {
    std::string bytes;
    for (int i = 0; i < times; ++i) bytes += line + "\r\n";
    game.data.WriteBytes(TextFile("s"), bytes + last + "\r\n");
    fom().StartEvent("s");
  };
  playRepeated("", 1000000, "x");
  EXPECT_EQ(Caption(), "\r\nx▼");
  playRepeated("--1", 1000000, "y");
  EXPECT_EQ(Caption(), "\r\ny▼");
  playRepeated(">img", 1000, "z");
  EXPECT_EQ(Caption(), "\r\nz▼");
}

TEST_F(ScenePlayer, EndLineShowsTheStartPanelAndLaterTicksDoNothing) {
  Play({"一", ">end", "残り"});
  EXPECT_EQ(Caption(), "\r\n一▼");
  Click();
  EXPECT_TRUE(fom().PicStt.Visible);
  EXPECT_EQ(fom().Files.OpenCount(), 0);
  ASSERT_TRUE(Tick());
  Click();
  EXPECT_EQ(Caption(), "\r\n一▼");
  EXPECT_EQ(fom().SayLine, "残り");
}

TEST_F(ScenePlayer, BonusLineStartsTheClosingScene) {
  game.data.WriteScript("end", {"おわり"});
  Play({"一", ">html 1,x", "読まれない"});
  EXPECT_EQ(Caption(), "\r\n一▼");
  Click();
  EXPECT_EQ(Caption(), "\r\nおわり▼");
  EXPECT_EQ(fom().ScriptFile, TextFile("end"));
  EXPECT_EQ(fom().Files.OpenCount(), 1);
}

// Steps owed to the scene that ">html" closed belong to no other scene.
TEST_F(ScenePlayer, ClosingSceneDoesNotInheritOwedSteps) {
  game.data.WriteScript("end", {"一", "二", "三"});
  Play({"--3", ">html 1,x", "a", "b"});
  EXPECT_EQ(Caption(), "\r\n一");
  EXPECT_EQ(fom().SayLine, "二");
}

TEST_F(ScenePlayer, ClosingSceneThatRestartsItselfIsStopped) {
  for (const char* piece : {"head", "char1", "foot"}) game.data.WriteScript(piece, {});
  game.data.WriteScript("end", {"--2", ">img", ">html 1,x"});
  Play({">html 1,x"});
  EXPECT_EQ(game.platform.Failures,
            (std::vector<std::string>{
                TextFile("end") + " 3行目：「>html」で場面「end」が始めからくり返されます。"}));
  EXPECT_TRUE(fom().PicStt.Visible);
  EXPECT_EQ(fom().Files.OpenCount(), 0);
}

TEST_F(ScenePlayer, ClicksOutsideASceneOfferToStartAfresh) {
  KnowATown();
  Play({"tugi"});
  ASSERT_FALSE(fom().Lbl.Visible);
  fom().TimSay.SetEnabled(false);

  game.platform.QueueAnswer(MsgBoxAnswer::No);
  fom().Pic_Click();
  ASSERT_EQ(game.platform.MessageBoxes.size(), 1u);
  EXPECT_EQ(game.platform.MessageBoxes[0].Text, "初期化しますか？");
  EXPECT_EQ(game.platform.MessageBoxes[0].Buttons, MsgBoxButtons::YesNo);
  EXPECT_FALSE(fom().PicStt.Visible);
  EXPECT_FALSE(fom().TimSay.Enabled());

  game.platform.QueueAnswer(MsgBoxAnswer::Yes);
  fom().LblGame_Click();
  EXPECT_EQ(game.platform.MessageBoxes.size(), 2u);
  EXPECT_TRUE(fom().PicStt.Visible);
}

TEST_F(ScenePlayer, ClickOnThePictureDuringASceneTurnsTheText) {
  Play({"一", "二"}, 0);
  fom().Pic_Click();
  EXPECT_EQ(Caption(), "\r\n一\r\n二▼");
  EXPECT_TRUE(game.platform.MessageBoxes.empty());
}

TEST_F(ScenePlayer, NewSceneClosesTheOneLeftOpen) {
  game.data.WriteScript("b", {"一", "二", "三"});
  Play({"a", "b", "c"});
  fom().StartEvent("b");
  EXPECT_EQ(fom().Files.OpenCount(), 1);
  EXPECT_EQ(fom().ScriptFile, TextFile("b"));
  EXPECT_EQ(Caption(), "\r\n一");
}

TEST_F(ScenePlayer, MissingStoryEventReturnsToTheTown) {
  KnowATown();
  fom().StartEvent("03");
  EXPECT_EQ(game.platform.Failures,
            (std::vector<std::string>{"シナリオ「" + TextFile("03") + "」を開けません。"}));
  EXPECT_TRUE(InTownView());
  EXPECT_EQ(fom().Files.OpenCount(), 0);
  Click();
  fom().TimSay_Timer();
  EXPECT_TRUE(InTownView());
}

TEST_F(ScenePlayer, MissingEndingScenesShowTheStartPanel) {
  KnowATown();
  fom().StartEvent("badend_hp");
  EXPECT_TRUE(fom().PicStt.Visible);

  fom().PicStt.Visible = false;
  game.data.WriteBytes(TextFile("end") + "/x", "");  // a folder where the scene should be
  fom().StartEvent("end");
  EXPECT_TRUE(fom().PicStt.Visible);
  EXPECT_EQ(game.platform.Failures.back(), "シナリオ「" + TextFile("end") + "」を開けません。");
}

// Without a town there is no town view to fall back on.
TEST_F(ScenePlayer, MissingOpeningWithoutAGameShowsTheStartPanel) {
  fom().StartEvent("opn");
  EXPECT_TRUE(fom().PicStt.Visible);
  EXPECT_EQ(game.platform.Failures,
            (std::vector<std::string>{"シナリオ「" + TextFile("opn") + "」を開けません。"}));
}

TEST_F(ScenePlayer, PictureNamesLeavingThePictureFolderAreRefused) {
  Play({"一", ">img ../x", ">img a\\b", ">img c/d", "二"});
  pictures.clear();
  ASSERT_TRUE(Tick());
  EXPECT_EQ(game.platform.Failures,
            (std::vector<std::string>{TextFile("s") + " 2行目：絵の名前「../x」は使えません。",
                                      TextFile("s") + " 3行目：絵の名前「a\\b」は使えません。",
                                      TextFile("s") + " 4行目：絵の名前「c/d」は使えません。"}));
  EXPECT_TRUE(pictures.empty());
  EXPECT_EQ(Caption(), "\r\n一\r\n二▼");
}

// A scene naming many missing pictures opens a few boxes, the last saying
// that no more will come; each box is a click the player owes the game.
TEST_F(ScenePlayer, ManyMissingPicturesInASceneOpenOnlyAFewBoxes) {
  KnowATown();
  std::vector<std::string> lines;
  for (int i = 0; i < 50; ++i) lines.push_back(">img none" + std::to_string(i));
  lines.push_back("一");
  Play(lines);
  EXPECT_EQ(pictures.size(), 50u) << "every picture is still asked for";
  ASSERT_EQ(game.platform.Failures.size(), 3u);
  EXPECT_EQ(game.platform.Failures[0], "絵「" + PictureFile("none0") + "」を読み込めません。");
  EXPECT_EQ(game.platform.Failures[2],
            "絵「" + PictureFile("none2") + "」を読み込めません。\r\n"
            "この場面でこの後に読み込めない絵があっても、もうお知らせしません。");
  Click();
  ASSERT_TRUE(InTownView());
  Play(lines);
  ASSERT_EQ(game.platform.Failures.size(), 6u) << "the next scene tells of its own";
  EXPECT_EQ(game.platform.Failures[3], "絵「" + PictureFile("none3") + "」を読み込めません。");
}

TEST_F(ScenePlayer, UndecodableBytesShowAsReplacementCharacters) {
  game.data.WriteBytes(TextFile("s"), "\x82\xa0\xff\r\n");
  fom().StartEvent("s");
  EXPECT_EQ(Caption(), "\r\nあ\xEF\xBF\xBD▼");
}

}  // namespace
}  // namespace kiravel
