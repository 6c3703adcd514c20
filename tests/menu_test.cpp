#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "platform/data_folder.h"
#include "testing/game_fixture.h"

namespace kiravel {
namespace {

using Lines = std::vector<std::string>;

// A game at a tavern, where the menu button is.
struct TavernMenu : testing::Game {
  explicit TavernMenu(std::int16_t level = 1) {
    StartInTown(level);
    fom->Com_Click(3);
    platform.MessageBoxes.clear();
  }
  void Choose(const MenuItem* item) {
    platform.QueueMenuChoice(item);
    fom->MenuCom_Click();
  }
};

TEST(Menu, SpeedItemsSetTheIntervalAndNothingElse) {
  TavernMenu game;
  Fom& f = *game.fom;
  f.TimSay.SetEnabled(true);
  for (std::int16_t i : {1, 2, 3, 0}) {
    game.Choose(&f.menu_tim_Click[i]);
    EXPECT_EQ(f.TimSay.Interval(), i * 100);
    EXPECT_TRUE(f.TimSay.Enabled()) << "the typing timer is left running as it was";
  }
  EXPECT_TRUE(game.platform.MessageBoxes.empty());
}

TEST(Menu, VersionBoxShowsFiveLinesTheThirdEmpty) {
  TavernMenu game;
  game.Choose(&game.fom->menu_ver);
  ASSERT_EQ(game.platform.MessageBoxes.size(), 1u);
  const auto& box = game.platform.MessageBoxes[0];
  EXPECT_EQ(box.Buttons, MsgBoxButtons::OK);
  EXPECT_EQ(Split(box.Text, '\n').size(), 5u);
  EXPECT_TRUE(box.Text.starts_with("Kiravel\r\nVer２．００　完成版\r\n\r\n")) << box.Text;
}

// A greyed item, one in a greyed submenu, a submenu as a whole, an item of no
// menu of this window, or a dismissed menu: none of them runs anything.
TEST(Menu, OnlyEnabledItemsOfThisMenuRun) {
  TavernMenu game(0);  // easy: the system submenu is greyed
  Fom& f = *game.fom;
  game.Choose(&f.menu_sis_c[0]);
  EXPECT_FALSE(std::filesystem::exists(game.data.Path() + TextFolderPath() + "save"));
  f.menu_tim_Click[2].Enabled = false;
  game.Choose(&f.menu_tim_Click[2]);
  game.Choose(&f.menu_tim);
  MenuItem stranger("menu_ver");
  game.Choose(&stranger);
  game.Choose(nullptr);
  f.MenuCom_Click();  // nothing queued: the menu is dismissed
  EXPECT_EQ(f.TimSay.Interval(), 0);
  EXPECT_TRUE(game.platform.MessageBoxes.empty());

  f.menu_sis.Enabled = true;
  game.Choose(&f.menu_sis_c[0]);
  EXPECT_EQ(game.MessageTexts(), Lines{"SAVE　OK"});
}

std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The runner chooses menu items through the popup menu, as a player would.
TEST(Menu, RunnerChoosesItemsThroughTheMenuButton) {
  testing::DataFolder data;
  data.WriteStandardFiles();
  data.WriteScript("opn", {"はじまり", "tugi"});
  data.WriteBytes("scenario.txt",
                  "click ComStt(1)\nclick ComSkep\nclick Com(3)\nmenu menu_tim_Click(3)\n"
                  "menu menu_sis_c(0)\nmenu menu_tim_Click(1)\nmenu menu_sis_c(1)\n"
                  "click Com(3)\nclick MenuCom\nmenu menu_ver\ndump TimSay\n");
  const std::string command = std::string("'") + KIRAVEL_RUN_PATH + "' --seed 1 --app '" +
                              data.Path() + "' '" + data.Path() + "scenario.txt' > '" +
                              data.Path() + "out.txt'";
  ASSERT_EQ(std::system(command.c_str()), 0);
  std::istringstream out(ReadAll(data.Path() + "out.txt"));
  Lines boxes;
  std::string dump;
  for (std::string line; std::getline(out, line);) {
    EXPECT_EQ(line.find("refused"), std::string::npos) << line;
    if (line.find("\"msgbox\"") != std::string::npos) boxes.push_back(line);
    if (line.find("\"dump\"") != std::string::npos) dump = line;
  }
  ASSERT_EQ(boxes.size(), 3u);
  EXPECT_NE(boxes[0].find("SAVE　OK"), std::string::npos);
  EXPECT_NE(boxes[1].find("Load　OK"), std::string::npos);
  EXPECT_NE(boxes[2].find("Ver２．００　完成版"), std::string::npos);
  EXPECT_NE(dump.find("\"Interval\":300"), std::string::npos) << "the loaded speed: " << dump;
  EXPECT_TRUE(std::filesystem::exists(data.Path() + SaveFolderPath() + DataFileName("save")));
}

}  // namespace
}  // namespace kiravel
