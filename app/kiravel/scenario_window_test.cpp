// One scenario language for the window and the runner. A game played in the
// window with --record replays in the runner to the same state: the window
// is driven through its widgets, its timers fire for real, and the recording
// is then played headlessly and the dumps compared. And a scenario the
// window plays means what it means to the runner.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMouseEvent>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include <filesystem>
#include <fstream>
#include <iostream>
#include <functional>
#include <iterator>
#include <memory>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "app/kiravel/game_window.h"
#include "app/kiravel/music_thread.h"
#include "app/kiravel/qt_platform.h"
#include "app/kiravel/replay_fixture.h"
#include "app/kiravel/scenario_player.h"
#include "app/kiravel/window_fixture.h"
#include "platform/scripted_platform.h"
#include "scenario/dump.h"
#include "scenario/output.h"
#include "scenario/perform.h"
#include "scenario/recorder.h"
#include "scenario/runner.h"
#include "testing/game_fixture.h"

namespace kiravel::qt {
namespace {

// A data folder whose every town has its first story, so the event button
// shows in any town.
void WriteData(const testing::DataFolder& data) {
  data.WriteStandardFiles();
  data.WriteScript("opn", {"ようこそ", "tugi"});
  for (const char* scene : {"00", "10", "20"}) {
    data.WriteScript(scene, {"一行目", "二行目", "三行目", "tugi"});
  }
}

class RecordedGame : public ::testing::Test {
 protected:
  RecordedGame() {
    WriteData(data);
    platform.SetSeed(20261207);
    fom = std::make_unique<Fom>(platform, data.Path());
    window = std::make_unique<GameWindow>(*fom, platform);
    window->RecordTo(recorder);
    window->Open();
  }

  template <class W>
  W& Widget(const Control& control) {
    auto* widget = qobject_cast<W*>(window->WidgetOf(control));
    if (widget == nullptr) throw std::runtime_error("no widget for " + control.Id());
    return *widget;
  }
  void Press(const CommandButton& button) { Widget<QPushButton>(button).click(); }
  static void ClickOn(QWidget& widget) {
    QPointF centre = QRectF(widget.rect()).center();
    QPointF global = widget.mapToGlobal(centre);
    QMouseEvent press(QEvent::MouseButtonPress, centre, global, Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QCoreApplication::sendEvent(&widget, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, centre, global, Qt::LeftButton, Qt::NoButton,
                        Qt::NoModifier);
    QCoreApplication::sendEvent(&widget, &release);
  }
  std::string WindowDump() { return qt::WindowDump(*fom); }

  // Journeys on until a monster has attacked at least once; the flute is
  // blown until it flees, and the battle panel closed.
  void TravelUntilAMonsterAttacks() {
    Fom& f = *fom;
    bool attacked = false;
    for (int trip = 0; trip < 10 && !attacked; ++trip) {
      Widget<QListWidget>(f.LstMati[0]).setCurrentRow(f.MatiNow == 0 ? 1 : 0);
      Press(f.Com[4]);
      auto arrived = [&] { return !f.TimDay.Enabled() && !f.PicBtl.Shown(); };
      while (!arrived()) {
        ASSERT_TRUE(RunUntil([&] { return arrived() || f.PicBtl.Shown(); }));
        if (!f.PicBtl.Shown()) break;
        ASSERT_TRUE(RunUntil([&] { return f.LblGame.Caption == "魔物の攻撃！"; }));
        attacked = true;
        for (int blow = 0; blow < 200 && f.PicBtlStr.Visible; ++blow) Press(f.ComBtl);
        ASSERT_FALSE(f.PicBtlStr.Visible) << "the monster never fled";
        Press(f.ComBtl);
      }
    }
    ASSERT_TRUE(attacked) << "no monster in ten journeys";
  }

  testing::DataFolder data;
  std::string path = data.Path() + "played.txt";
  scenario::Recorder recorder{path};
  MusicThread music{KIRAVEL_SOUND_MODULE_PATH};
  QtPlatform platform{music};
  std::unique_ptr<Fom> fom;
  std::unique_ptr<GameWindow> window;
  Responder responder;
};

TEST_F(RecordedGame, ReplaysHeadlessToTheWindowsDumpAndCutShortToWhereItStopped) {
  Fom& f = *fom;
  // A size whose twips are whole pixels, so the window's place is the same
  // on the runner's simulated screen.
  // An outer height of 600 pixels, whose 4:3 width the game sets itself.
  window->resize(window->width(), 600 - (window->frameGeometry().height() - window->height()));
  ASSERT_TRUE(RunUntil([&] { return f.fom.WindowHeight == 9000 && f.fom.WindowWidth == 12000; }));
  Press(f.ComStt[0]);
  Press(f.ComSkep);

  // Typing, a selection, the tavern and a request.
  QLineEdit& name = Widget<QLineEdit>(f.TxtName);
  name.selectAll();
  QKeyEvent typed(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QStringLiteral("ミナ"));
  QCoreApplication::sendEvent(&name, &typed);
  ASSERT_EQ(f.TxtName.Text, "ミナ");
  Press(f.Com[3]);
  Widget<QListWidget>(f.LstIrai).setCurrentRow(0);
  Press(f.ComIrai);

  // The menu, walked down to the text speed, which sets the scene timer on;
  // then its version box.
  responder.Path = {"文章", "速い"};
  Press(f.MenuCom);
  ASSERT_EQ(f.TimSay.Interval(), 100);
  int boxes = responder.Boxes;
  responder.Path = {"バージョン"};
  Press(f.MenuCom);
  ASSERT_EQ(responder.Boxes, boxes + 1);

  // The recording so far, as a kill now would leave it.
  const std::string cutAt = ReadAll(path);
  const std::string dumpAtCut = WindowDump();

  // A click on the picture asks whether to start over: No. Then a story
  // typed out by the scene timer, and journeys.
  ClickOn(Widget<QWidget>(f.Pic));
  ASSERT_EQ(responder.Boxes, boxes + 2);
  Press(f.Com[0]);
  ASSERT_TRUE(RunUntil([&] { return f.Lbl.Caption.find("三行目") != std::string::npos; }));
  Press(f.ComSkep);
  TravelUntilAMonsterAttacks();
  ASSERT_FALSE(HasFatalFailure());

  const std::string played = ReadAll(path);
  EXPECT_NE(played.find("\ntick TimSay\n"), std::string::npos) << played;
  EXPECT_NE(played.find("\ntick TimDay\n"), std::string::npos);
  EXPECT_NE(played.find("\ntick TimBtl\n"), std::string::npos);
  EXPECT_NE(played.find("\nmenu menu_tim_Click(1)\n"), std::string::npos);
  EXPECT_NE(played.find("\nanswer ok\nmenu menu_ver\n"), std::string::npos);
  EXPECT_NE(played.find("\nanswer no\nclick Pic\n"), std::string::npos);
  EXPECT_NE(played.find("\ntype TxtName ミナ\n"), std::string::npos);
  EXPECT_NE(played.find("\nselect LstIrai 0\n"), std::string::npos);
  EXPECT_EQ(played.rfind(cutAt, 0), 0u) << "the recording was written in order";

  EXPECT_EQ(ReplayedDump(played, data.Path()), WindowDump());
  EXPECT_EQ(ReplayedDump(cutAt, data.Path()), dumpAtCut);
}

// The window plays a scenario with the runner's meanings: queued draws and
// the seed make the same towns, queued answers answer the real boxes (a Yes
// that starts over), a refused tick is refused alike, `resize` is in twips,
// and every control and variable dumps as in the runner. A shot is the
// window's own.
TEST(ScenarioInTheWindow, MeansWhatItMeansToTheRunner) {
  testing::DataFolder data;
  WriteData(data);
  const std::string shots = data.Path() + "shots";
  std::filesystem::create_directory(shots);

  MusicThread music{KIRAVEL_SOUND_MODULE_PATH};
  QtPlatform platform{music};
  Fom fom(platform, data.Path());
  GameWindow window(fom, platform);
  std::ostringstream printed;
  std::streambuf* standardOutput = std::cout.rdbuf(printed.rdbuf());
  window.Open();
  // The runner is told the real window's pixel, frame and screen; the
  // window keeps its own.
  const WindowPlace place = platform.Window();
  const ScreenSize screen = platform.Screen();
  const std::string scenario =
      scenario::Format(scenario::Pixel{platform.TwipsPerPixel()}) + "\nframe " + std::to_string(place.Width - place.ClientWidth) + " " +
      std::to_string(place.Height - place.ClientHeight) + "\nresize 9000 " +
      std::to_string(screen.Width) + " " + std::to_string(screen.Height) + "\ndump fom\n" +
      "seed 99\nrnd 0.5 0.25\nclick ComStt(0)\nclick ComSkep\ntype TxtName ミナ\nclick Com(3)\n"
      "select LstIrai 0\nclick ComIrai\nmenu menu_tim_Click(2)\nmenu menu_ver\ntick TimDay\n"
      "answer yes\nclick Pic\nshot town\ndump\nclose\n";
  data.WriteBytes("scenario.txt", scenario);
  ASSERT_TRUE(PlayScenario(fom, window, platform, data.Path() + "scenario.txt", shots));
  bool closed = RunUntil([&] { return !window.isVisible(); });
  std::cout.rdbuf(standardOutput);
  ASSERT_TRUE(closed);

  const std::string runner = RunnerOutput(scenario, data.Path());
  EXPECT_EQ(LinesOf(printed.str(), "{\"dump\""), LinesOf(runner, "{\"dump\""));
  std::vector<std::string> refused = LinesOf(printed.str(), "{\"refused\"");
  ASSERT_EQ(refused.size(), 1u);
  EXPECT_NE(refused[0].find("TimDay is disabled"), std::string::npos) << refused[0];
  EXPECT_EQ(LinesOf(runner, "{\"refused\""), (std::vector<std::string>{
      refused[0], R"({"refused":"shot town","why":"the runner has no screen to take a shot of"})"}));
  EXPECT_TRUE(fom.PicStt.Visible) << "the queued Yes started over";
  for (const char* shot : {"town.png", "box-1.png", "box-2.png", "menu-1.png"}) {
    EXPECT_TRUE(std::filesystem::exists(shots + "/" + shot)) << shot;
  }
}

}  // namespace
}  // namespace kiravel::qt
