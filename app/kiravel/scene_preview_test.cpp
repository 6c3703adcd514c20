// The author's preview in the window: the scene shows at once on a fresh
// easy game, F5 shows what was saved since, and a window opened without
// --scene has no F5 at all.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QTest>

#include <functional>
#include <memory>

#include "app/kiravel/command_line.h"
#include "app/kiravel/game_window.h"
#include "app/kiravel/music_thread.h"
#include "app/kiravel/qt_platform.h"
#include "app/kiravel/scene_preview.h"
#include "app/kiravel/window_fixture.h"
#include "platform/data_folder.h"
#include "testing/game_fixture.h"

namespace kiravel::qt {
namespace {

struct PreviewWindow {
  PreviewWindow() {
    data.WriteStandardFiles();
    data.WriteScript("opn", {"オープニング", "tugi"});
    data.WriteScript("03", {"最初に書いた一行目", "二行目", "tugi"});
    fom = std::make_unique<Fom>(platform, data.Path());
    window = std::make_unique<GameWindow>(*fom, platform);
    window->Open();
    window->activateWindow();
  }

  QString Shown() const { return qobject_cast<QLabel*>(window->WidgetOf(fom->Lbl))->text(); }

  void PressF5() {
    EXPECT_TRUE(QTest::qWaitForWindowActive(window.get()));
    QTest::keyClick(window.get(), Qt::Key_F5);
  }

  kiravel::testing::DataFolder data;
  MusicThread music{KIRAVEL_SOUND_MODULE_PATH};
  QtPlatform platform{music};
  std::unique_ptr<Fom> fom;
  std::unique_ptr<GameWindow> window;
};

TEST(ScenePreview, ShowsTheSceneAtOnceAndF5ShowsTheSavedFileFromItsFirstPage) {
  PreviewWindow w;
  auto* preview = new ScenePreview(*w.window, "03");
  preview->Play();
  Fom& f = *w.fom;
  EXPECT_FALSE(f.PicStt.Visible);
  EXPECT_EQ(f.LvIve, 50);  // the easy level's
  EXPECT_TRUE(w.Shown().contains("最初に書いた一行目"));
  EXPECT_FALSE(w.Shown().contains("オープニング"));

  // Played to its end, the scene has left for the town; the author edits
  // the file and asks for it again.
  ASSERT_TRUE(RunUntil([&] {
    if (f.Lbl.Shown()) w.window->Click(f.Lbl);
    return f.Com[4].Shown();
  }));
  w.data.WriteScript("03", {"書き直した一行目", "tugi"});
  w.PressF5();
  EXPECT_TRUE(f.Lbl.Shown());
  EXPECT_TRUE(w.Shown().contains("書き直した一行目"));
  EXPECT_FALSE(w.Shown().contains("二行目"));
}

TEST(ScenePreview, AWindowWithoutSceneHasNoF5) {
  PreviewWindow w;
  const std::string caption = w.fom->Lbl.Caption;
  w.PressF5();
  EXPECT_TRUE(w.fom->PicStt.Visible);
  EXPECT_EQ(w.fom->LstMati[0].ListCount(), 0);  // no game was begun
  EXPECT_EQ(w.fom->Lbl.Caption, caption);
}

TEST(WindowCommandLine, SceneNamesAFileOfTheTextFolder) {
  CommandLine line;
  CommandLineParser parser;
  ASSERT_TRUE(parser.Parse({"kiravel", "--scene", "03"}, line));
  EXPECT_EQ(line.scene, "03");
  for (const std::string& wrong : std::vector<std::string>{DataFileName("03"), "../03", TextFolderPath() + "03", ""}) {
    CommandLineParser refusing;
    CommandLine ignored;
    EXPECT_FALSE(refusing.Parse({"kiravel", "--scene", QString::fromStdString(wrong)}, ignored)) << wrong;
    EXPECT_TRUE(refusing.Error().contains("--scene")) << wrong;
  }
}

}  // namespace
}  // namespace kiravel::qt
