// Slow battles, for a player who listens: off unless chosen, remembered once
// chosen, the monster's timer slowed in the window alone, and a recording
// that says so and replays at its own pace.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QDialog>
#include <QSettings>
#include <QTimer>
#include <QStringList>

#include <fstream>
#include <string>

#include "app/kiravel/command_line.h"
#include "app/kiravel/scenario_player.h"
#include "app/kiravel/window_fixture.h"
#include "app/kiravel/window_preferences.h"
#include "scenario/recorder.h"
#include "testing/game_fixture.h"

namespace kiravel::qt {
namespace {

TEST(SlowBattles, OffUnlessChosenAndRememberedOnceChosen) {
  testing::DataFolder folder;
  QSettings settings(QString::fromStdString(folder.Path() + "kiravel.conf"), QSettings::IniFormat);
  MusicThread music(KIRAVEL_SOUND_MODULE_PATH);
  QWidget window;
  CommandLineParser parser;
  CommandLine plain;
  ASSERT_TRUE(parser.Parse({"kiravel"}, plain));
  {
    WindowPreferences preferences(window, music, settings);
    preferences.Restore(plain.choices);
    EXPECT_FALSE(preferences.SlowBattles());
  }
  CommandLine slow;
  ASSERT_TRUE(CommandLineParser().Parse({"kiravel", "--slow-battles"}, slow));
  {
    WindowPreferences preferences(window, music, settings);
    preferences.Restore(slow.choices);
    EXPECT_TRUE(preferences.SlowBattles());
    preferences.Remember();
  }
  WindowPreferences preferences(window, music, settings);
  preferences.Restore(plain.choices);
  EXPECT_TRUE(preferences.SlowBattles());
}

// The game's own timer keeps its second: only the window waits longer.
TEST(SlowBattles, TheMonstersTimerRunsSlowerInTheWindowAlone) {
  Window w;
  w.StartEasyGameInTown();
  w.window->SlowBattles(true);
  w.window->Change([&] {
    w.platform.QueueRnd(0.0);
    w.platform.QueueRnd(0.5);
    w.platform.QueueRnd(0.5);
    w.fom->MonsterAppears();
  });
  const QTimer* monster = w.window->GameTimers().QtTimer(w.fom->TimBtl);
  ASSERT_TRUE(monster->isActive());
  EXPECT_EQ(w.fom->TimBtl.Interval(), 1000);
  EXPECT_EQ(monster->interval(), 1000 * kSlowBattleFactor);
  w.window->SlowBattles(false);
  EXPECT_EQ(monster->interval(), 1000);
}

// The preferences dialog's choice reaches the window at once.
TEST(SlowBattles, ChosenInThePreferencesTheWindowFollows) {
  Window w;
  Activate(w);
  QSettings settings(QString::fromStdString(w.data.Path() + "kiravel.conf"), QSettings::IniFormat);
  WindowPreferences preferences(*w.window, w.music, settings, &w.window->Reading());
  bool followed = false;
  preferences.FollowSlowBattles([&](bool slow) {
    followed = slow;
    w.window->SlowBattles(slow);
  });
  preferences.Restore({});
  EXPECT_FALSE(followed);
  QTimer::singleShot(0, [] {
    auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
    ASSERT_NE(dialog, nullptr);
    auto* slow = dialog->findChild<QCheckBox*>("slowBattles");
    ASSERT_NE(slow, nullptr);
    EXPECT_FALSE(slow->isChecked());
    slow->setChecked(true);
    dialog->accept();
  });
  preferences.Edit();
  EXPECT_TRUE(followed);
  EXPECT_TRUE(preferences.SlowBattles());
  EXPECT_TRUE(settings.value("battle/slow").toBool());
}

TEST(SlowBattles, ARecordingSaysSoAndItsReplayIsSlowedToo) {
  testing::DataFolder folder;
  const std::string file = folder.Path() + "game.scenario";
  {
    scenario::Recorder recorder(file);
    recorder.Note(kSlowBattlesRemark);
  }
  std::ifstream written(file);
  std::string first;
  std::getline(written, first);
  EXPECT_EQ(first, std::string("# ") + kSlowBattlesRemark);

  Window w;
  ASSERT_TRUE(PlayScenario(*w.fom, *w.window, w.platform, file, folder.Path()));
  w.window->Change([&] {
    w.platform.QueueRnd(0.0);
    w.platform.QueueRnd(0.5);
    w.platform.QueueRnd(0.5);
    w.fom->MonsterAppears();
  });
  EXPECT_EQ(w.window->GameTimers().QtTimer(w.fom->TimBtl)->interval(), 1000 * kSlowBattleFactor);
}

}  // namespace
}  // namespace kiravel::qt
