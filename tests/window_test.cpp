#include <gtest/gtest.h>

#include <set>

#include "testing/game_fixture.h"

namespace kiravel {
namespace {

using testing::DataFolder;

// The window as the constructor leaves it, before start-up or any layout.
struct FreshWindow {
  DataFolder data;
  ScriptedPlatform platform;
  Fom fom{platform, data.Path()};
};

TEST(Window, DescriptionTextsAreThoseBeforeStartUpAndLayout) {
  FreshWindow w;
  Fom& f = w.fom;
  EXPECT_EQ(f.fom.Caption, "Kiravel");
  // Top to bottom the start buttons are easy, hard, load; the handler knows them by index.
  EXPECT_EQ(f.ComStt[0].Caption, "LV EASY");
  EXPECT_EQ(f.ComStt[1].Caption, "LV HARD");
  EXPECT_EQ(f.ComStt[2].Caption, "Load Start");
  EXPECT_EQ(f.ComStt[0].ToolTipText, "");
  EXPECT_EQ(f.Com[4].ToolTipText, "街を選んで旅に出ます");
  EXPECT_EQ(f.ComSkep.Caption, "Skep");
  EXPECT_EQ(f.ComHp.ToolTipText, "休んで体力を回復します。１０００星粒かかります。");
  EXPECT_EQ(f.LblDay.Caption, "Label1");
  EXPECT_EQ(f.TxtName.Text, "ミンヤ");
  EXPECT_EQ(f.TxtBtl.Text, "Text1");
  EXPECT_EQ(f.Lbl.FontName, "ＭＳ Ｐゴシック");
  EXPECT_TRUE(f.LblDay.FontBold);
  EXPECT_EQ(f.LblStr[0].Align, Alignment::Right);
  EXPECT_TRUE(f.LblLstK[1].Border);
}

TEST(Window, PanelsListsAndTimersStartAsDescribed) {
  FreshWindow w;
  Fom& f = w.fom;
  EXPECT_TRUE(f.PicStt.Visible);
  EXPECT_TRUE(f.Pic.Visible);
  EXPECT_FALSE(f.PicBar.Visible);
  EXPECT_FALSE(f.PicBtl.Visible);
  EXPECT_FALSE(f.E.Visible);
  EXPECT_TRUE(f.LstYou[0].Visible);
  EXPECT_FALSE(f.LstYou[1].Visible);
  EXPECT_FALSE(f.LstMati[1].Visible);
  for (int i = 1; i <= 5; ++i) EXPECT_FALSE(f.LstSigoto[i].Visible) << i;
  EXPECT_EQ(f.LstSigoto.UBound(), 5);

  EXPECT_EQ(f.TimBtl.Interval(), 1000);
  EXPECT_FALSE(f.TimBtl.Enabled());
  EXPECT_EQ(f.TimSay.Interval(), 0);
  EXPECT_TRUE(f.TimSay.Enabled());
  EXPECT_EQ(f.TimDay.Interval(), 100);
  EXPECT_FALSE(f.TimDay.Enabled());
  EXPECT_EQ(f.BgmTim.Interval(), 1);
  EXPECT_TRUE(f.BgmTim.Enabled());
}

// The front ends build the popup from these links; a missing one loses a menu item.
TEST(Window, PopupMenuTreeHangsFromAHiddenRoot) {
  FreshWindow w;
  Fom& f = w.fom;
  EXPECT_FALSE(f.menu.Visible);
  ASSERT_EQ(f.menu.Children.size(), 3u);
  EXPECT_EQ(f.menu.Children[0]->Caption, "文章");
  EXPECT_EQ(f.menu.Children[1]->Caption, "システム");
  EXPECT_EQ(f.menu.Children[2]->Caption, "バージョン");
  std::vector<std::string> speeds;
  for (MenuItem* item : f.menu_tim.Children) {
    speeds.push_back(item->Caption);
    EXPECT_EQ(item->Container, &f.menu_tim);
  }
  EXPECT_EQ(speeds, (std::vector<std::string>{"無し", "速い", "普通", "遅い"}));
  ASSERT_EQ(f.menu_sis.Children.size(), 2u);
  EXPECT_EQ(f.menu_sis.Children[1], &f.menu_sis_c[1]);
  EXPECT_EQ(f.menu_sis_c[1].Caption, "LOAD");
  EXPECT_TRUE(f.menu_sis.Enabled);
}

// A control outside the list is never drawn nor dumped; one without a
// container is drawn at the wrong place or shown inside a hidden panel.
TEST(Window, EveryControlIsListedOnceInsideAListedContainer) {
  testing::Game game;
  std::vector<Control*> all = game.fom->AllControls();
  std::set<std::string> ids;
  std::set<const Control*> listed(all.begin(), all.end());
  for (Control* control : all) {
    EXPECT_TRUE(ids.insert(control->Id()).second) << control->Id();
    if (control == &game.fom->fom) continue;
    ASSERT_NE(control->Container, nullptr) << control->Id();
    EXPECT_TRUE(listed.count(control->Container)) << control->Id();
  }
  EXPECT_EQ(all.front(), &game.fom->fom);
  EXPECT_EQ(all.back(), &game.fom->menu_ver);
  EXPECT_EQ(ids.size(), 70u);
  EXPECT_EQ(game.fom->FindControl("LblBtl(1)"), &game.fom->LblBtl[1]);
  EXPECT_EQ(game.fom->FindControl("ShpStr(4)")->Container, &game.fom->PicStr);
  for (Control* control : all) EXPECT_EQ(game.fom->FindControl(control->Id()), control);
  // Only ids as the window description writes them name a control.
  for (const char* id : {"Com", "Com(5)", "Com(03)", "Com(3", "Com(-1)", "Com()", "Lbl(0)",
                         "com(3)", "Com(3)x", "Com(3))", ""}) {
    EXPECT_EQ(game.fom->FindControl(id), nullptr) << id;
  }
  EXPECT_EQ(game.fom->TimBtl.Container, &game.fom->PicBtl);
  EXPECT_EQ(game.fom->ComIrai.Container, &game.fom->PicBar);
}

// Form_Load makes the status and battle items; the first layout shows them.
TEST(Window, CreatedItemsStayHiddenUntilTheFirstLayout) {
  FreshWindow w;
  w.data.WriteStandardFiles();
  Fom& f = w.fom;
  f.Form_Load();
  for (int i = 1; i <= 4; ++i) {
    EXPECT_FALSE(f.ShpStr[i].Visible) << i;
    EXPECT_FALSE(f.LblStr[i].Visible) << i;
    EXPECT_EQ(f.LblStr[i].Align, Alignment::Right);
  }
  EXPECT_FALSE(f.ShpBtl[1].Visible);
  EXPECT_FALSE(f.LblBtl[1].Visible);
  f.Form_Resize();
  for (int i = 1; i <= 4; ++i) EXPECT_TRUE(f.ShpStr[i].Visible && f.LblStr[i].Visible) << i;
  EXPECT_TRUE(f.LblBtl[1].Visible);
  EXPECT_EQ(f.LblBtl[0].Caption, "魔物");
  EXPECT_EQ(f.LblBtl[1].Caption, "自分");
}

// The name goes into the save file in CP932, one line: a line break or an
// unencodable character would break it.
TEST(Window, CourierNameRefusesWhatTheSaveCannotHold) {
  FreshWindow w;
  TextBox& name = w.fom.TxtName;
  name.Type("ア\tイ\r\nウ😀①");
  EXPECT_EQ(name.Text, "アイウ①");
  name.Type("あいうえおかきくけこ");
  EXPECT_EQ(name.Text, "あいうえおかきく");
  name.Type("a\x7f" "b");
  EXPECT_EQ(name.Text, "ab");
}

TEST(Window, FocusVisitsEveryInputControlOnceAndSkipsLabels) {
  testing::Game game;
  Fom& f = *game.fom;
  std::vector<Control*> order = f.FocusOrder();
  ASSERT_EQ(order.size(), 34u);
  EXPECT_EQ(order.front(), &f.Pic);
  EXPECT_EQ(order[5], &f.Com[0]);
  EXPECT_EQ(order[16], &f.LstSigoto[4]);
  EXPECT_EQ(order[25], &f.LstSigoto[5]);
  EXPECT_EQ(order.back(), &f.PicBtlGrf);
  std::set<Control*> seen(order.begin(), order.end());
  EXPECT_EQ(seen.size(), order.size());
  for (Control* control : f.AllControls()) {
    bool takesFocus = control->Kind != ControlKind::Label && control->Kind != ControlKind::Shape &&
                      control->Kind != ControlKind::Timer &&
                      control->Kind != ControlKind::MenuItem &&
                      control->Kind != ControlKind::Window;
    EXPECT_EQ(seen.count(control) == 1, takesFocus) << control->Id();
  }
}

}  // namespace
}  // namespace kiravel
