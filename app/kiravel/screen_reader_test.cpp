// What a screen reader hears of the window: the controls' names, the parts
// left off the bus, the bars' values, the story lines as they are spoken and
// the news. Qt hands no events on without a bus; the test that plays by ear
// on a real one hears them.
#include <gtest/gtest.h>

#include <QAccessible>
#include <QPushButton>
#include <QRegularExpression>

#include <utility>
#include <vector>

#include "app/kiravel/accessible_names.h"
#include "app/kiravel/accessible_widgets.h"
#include "app/kiravel/announcer.h"
#include "app/kiravel/window_fixture.h"
#include "platform/data_folder.h"
#include "ui/handlers.h"
#include "core/town_commands.h"
#include "testing/game_fixture.h"

namespace kiravel::qt {
namespace {

bool Japanese(const std::string& name) {
  return QString::fromStdString(name).contains(
      QRegularExpression(QStringLiteral("[\\x{3000}-\\x{9fff}\\x{ff00}-\\x{ffef}]")));
}

// The controls a player can move the focus onto, as the window makes them:
// buttons, lists, text boxes and the panels that answer a click.
bool TakesFocus(const Control& control) {
  switch (control.Kind) {
    case ControlKind::CommandButton:
    case ControlKind::ListBox:
    case ControlKind::TextBox:
      return true;
    case ControlKind::PictureBox:
      return FindClick(control.Name) != nullptr;
    default:
      return false;
  }
}

void ExpectReachableControlsNamed(Fom& f, const PictureDescriptions& pictures) {
  for (Control* control : f.AllControls()) {
    if (!TakesFocus(*control) || OnlyDrawn(f, *control)) continue;
    EXPECT_TRUE(Japanese(AccessibleName(f, *control, pictures))) << control->Id();
  }
}

TEST(AccessibleNames, EveryControlThePlayerReachesHasAJapaneseName) {
  testing::Game game;
  Fom& f = *game.fom;
  const PictureDescriptions none;
  ExpectReachableControlsNamed(f, none);
  EXPECT_EQ(AccessibleName(f, f.ComStt[0], none), "イージーモードで始める（LV EASY）");
  game.StartInTown(0);
  ExpectReachableControlsNamed(f, none);
  EXPECT_EQ(AccessibleName(f, f.LstMati[0], none), "街");
  EXPECT_EQ(AccessibleName(f, f.ComSkep, none), "イベントスキップ");
  EXPECT_EQ(AccessibleName(f, f.Pic, none), "絵：" + PictureFile("mati"));
  EXPECT_EQ(AccessibleName(f, f.Pic, PictureDescriptions({"mati 赤い屋根の街"})), "絵：赤い屋根の街");
  f.Com_Click(kTavern);
  ExpectReachableControlsNamed(f, none);
  EXPECT_EQ(AccessibleName(f, f.LstIrai, none), "依頼");
  EXPECT_EQ(AccessibleName(f, f.MenuCom, none), "メニュー");
  game.Rnd({0.0, 0.5, 0.5});
  f.MonsterAppears();
  ExpectReachableControlsNamed(f, none);
  EXPECT_EQ(AccessibleName(f, f.ComBtl, none), "笛を吹く");
}

// The shadow would read every line twice; the headings and labels would
// repeat the lists' and bars' names with their marks.
TEST(AccessibleNames, OnlyTheDrawnPartsStayOffTheBus) {
  testing::Game game;
  Fom& f = *game.fom;
  for (const Control* drawn : {static_cast<const Control*>(&f.LblBak), static_cast<const Control*>(&f.E),
                               static_cast<const Control*>(&f.LblLstK[0]), static_cast<const Control*>(&f.LblStr[0]),
                               static_cast<const Control*>(&f.LstMati[1])}) {
    EXPECT_TRUE(OnlyDrawn(f, *drawn)) << drawn->Id();
  }
  for (const Control* heard : {static_cast<const Control*>(&f.Lbl), static_cast<const Control*>(&f.LblGame),
                               static_cast<const Control*>(&f.LstMati[0]), static_cast<const Control*>(&f.LstIrai),
                               static_cast<const Control*>(&f.ShpStr[0])}) {
    EXPECT_FALSE(OnlyDrawn(f, *heard)) << heard->Id();
  }
}

TEST(AccessibleNames, TheBarsReadTheStatusAndTheHitPointsWithTheirMaxima) {
  testing::Game game;
  game.StartInTown(0);
  Fom& f = *game.fom;
  EXPECT_EQ(AccessibleName(f, f.ShpStr[3], {}), "体力");
  EXPECT_EQ(ReadMeter(f, f.ShpStr[3]).value, f.StrVal[3]);
  EXPECT_EQ(ReadMeter(f, f.ShpStr[3]).maximum, 1000);
  EXPECT_EQ(ReadMeter(f, f.ShpStr[4]).maximum, 365);
  game.Rnd({0.4, 0.5, 0.5});
  f.MonsterAppears();
  EXPECT_EQ(AccessibleName(f, f.ShpBtl[1], {}), "自分の草");
  EXPECT_EQ(ReadMeter(f, f.ShpBtl[0]).value, f.BtlHpMax);
  EXPECT_EQ(ReadMeter(f, f.ShpBtl[0]).maximum, f.BtlHpMax);
  EXPECT_EQ(ReadMeter(f, f.ShpBtl[1]).value, f.StrVal[1]);
}

// The widgets as the bus reads them, on a window of plain widgets.
TEST(AccessibleWidgets, ContainersLeaveOutWhatIsOnlyDrawnAndTheNewsComesLast) {
  DescribeWindowToTheBus();
  QWidget window;
  ListChildrenOnTheBus(window);
  auto* story = new QLabel(QStringLiteral("一▽"), &window);
  auto* shadow = new QLabel(QStringLiteral("一▽"), &window);
  KeepOffTheBus(*shadow);
  auto* news = new NewsLine(window);
  QAccessibleInterface* bus = QAccessible::queryAccessibleInterface(&window);
  ASSERT_EQ(bus->childCount(), 2);
  EXPECT_EQ(bus->child(0)->object(), story);
  EXPECT_EQ(bus->child(1)->object(), news);
  EXPECT_EQ(bus->indexOfChild(QAccessible::queryAccessibleInterface(shadow)), -1);
  EXPECT_EQ(bus->role(), QAccessible::Window);
  news->Tell(QStringLiteral("魔物の攻撃！"));
  QAccessibleInterface* told = bus->child(1);
  EXPECT_EQ(told->role(), QAccessible::StatusBar);
  EXPECT_EQ(told->textInterface()->text(0, 100), "魔物の攻撃！");
  EXPECT_EQ(told->parent()->object(), &window);
}

TEST(AccessibleWidgets, BarsAreValuesLabelsSayTheirWordsAndPanelsArePressed) {
  DescribeWindowToTheBus();
  QWidget window;
  auto* bar = new QWidget(&window);
  ReadAsMeter(*bar);
  bar->setAccessibleName(QStringLiteral("火"));
  SetMeter(*bar, 120, 1000);
  QAccessibleInterface* meter = QAccessible::queryAccessibleInterface(bar);
  ASSERT_NE(meter->valueInterface(), nullptr);
  EXPECT_EQ(meter->valueInterface()->currentValue().toInt(), 120);
  EXPECT_EQ(meter->valueInterface()->maximumValue().toInt(), 1000);
  EXPECT_EQ(meter->text(QAccessible::Value), "120 / 1000");

  auto* label = new QLabel(QStringLiteral("\n一▽"), &window);
  ReadAsText(*label);
  SetSpokenText(*label, QStringLiteral("\n一"));
  QAccessibleInterface* text = QAccessible::queryAccessibleInterface(label);
  EXPECT_EQ(text->text(QAccessible::Name), "\n一");
  EXPECT_EQ(text->textInterface()->characterCount(), 2);

  auto* panel = new QWidget(&window);
  ListChildrenOnTheBus(*panel);
  ReadAsPicture(*panel, true);
  int pressed = 0;
  PressedBy(*panel, [&pressed] { ++pressed; });
  QAccessibleInterface* picture = QAccessible::queryAccessibleInterface(panel);
  EXPECT_EQ(picture->role(), QAccessible::Graphic);
  ASSERT_TRUE(picture->actionInterface()->actionNames().contains(QAccessibleActionInterface::pressAction()));
  picture->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
  EXPECT_EQ(pressed, 1);
}

// The news of a battle, worked out from the game alone.
TEST(Announcer, TellsTheMonsterEachBlowAndTheBattlesEndButNothingTwice) {
  testing::Game game;
  game.StartInTown(0);
  Fom& f = *game.fom;
  Announcer announcer;
  EXPECT_EQ(announcer.News(f), "");
  game.Rnd({0.0, 0.5, 0.5});
  f.MonsterAppears();
  const std::string appeared = announcer.News(f);
  EXPECT_EQ(appeared.find("火属性の魔物が出現した！　魔物の体力 "), 0u) << appeared;
  EXPECT_EQ(announcer.News(f), "");

  game.Rnd({0.9, 0.9});
  f.TimBtl_Timer();
  const std::string attack = announcer.News(f);
  EXPECT_EQ(attack.find("魔物の攻撃！　火 "), 0u) << attack;
  EXPECT_NE(attack.find("体力 "), std::string::npos) << attack;

  // Every fairy answers, each as strong as it can be.
  game.Rnd({0.0, 0.99, 0.0, 0.99, 0.0, 0.99});
  f.ComBtl_Click();
  const std::string blows = announcer.News(f);
  EXPECT_NE(blows.find("が来てくれた！"), std::string::npos) << blows;
  EXPECT_NE(blows.find("笛を吹いた！"), std::string::npos) << blows;
  EXPECT_NE(blows.find("魔物を追っ払った！"), std::string::npos) << blows;
  EXPECT_EQ(announcer.News(f), "");
}

TEST(Announcer, ThePageIsSpokenWithoutItsMarks) {
  testing::Game game;
  Fom& f = *game.fom;
  f.Lbl.Caption = "\r\n一\r\n二▽";
  f.SayBuf = "▽";
  EXPECT_EQ(SpokenPage(f), "\n一\n二");
  f.Lbl.Caption = "\r\n一▼";
  f.SayBuf = "▼";
  EXPECT_EQ(SpokenPage(f), std::string("\n一") + kPageEndWords);
  EXPECT_EQ(Announcer::BoxNews("一行目\r\n二行目"), "一行目　二行目");
}

}  // namespace
}  // namespace kiravel::qt
