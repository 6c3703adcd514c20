// The window's command line, what it remembers between runs, and the icon
// the desktop gets: runs in the window's test program, under its Qt
// application.
#include <gtest/gtest.h>

#include <QSettings>
#include <QWidget>

#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "app/kiravel/command_line.h"
#include "app/kiravel/music_thread.h"
#include "app/kiravel/window_folders.h"
#include "app/kiravel/window_preferences.h"
#include "desktop/icon_design.h"
#include "platform/data_folder.h"
#include "platform/game_folders.h"
#include "testing/game_fixture.h"
#include "testing/program_run.h"

namespace kiravel::qt {
namespace {

using testing::ProgramRun;
using testing::RunProgram;

bool Parses(const QStringList& arguments, CommandLine& line, QString* error = nullptr) {
  CommandLineParser parser;
  const bool ok = parser.Parse(QStringList{"kiravel"} + arguments, line);
  if (error != nullptr) *error = parser.Error();
  return ok;
}

TEST(WindowCommandLine, OptionsAreReadAndContradictionsRefused) {
  testing::DataFolder data;
  CommandLine line;
  ASSERT_TRUE(Parses({"--data", QString::fromStdString(data.Path()), "--fullscreen", "--mute"}, line));
  EXPECT_EQ(line.data, data.Path());
  EXPECT_EQ(line.choices.fullScreen, true);
  EXPECT_TRUE(line.choices.mute);
  CommandLine plain;
  ASSERT_TRUE(Parses({"--window"}, plain));
  EXPECT_EQ(plain.choices.fullScreen, false);
  EXPECT_FALSE(plain.choices.mute);
  CommandLine none;
  ASSERT_TRUE(Parses({}, none));
  EXPECT_FALSE(none.choices.fullScreen.has_value());
  EXPECT_TRUE(none.play.empty());
  EXPECT_FALSE(none.reportFirstFrame);
  CommandLine played;
  ASSERT_TRUE(Parses({"--play", "game.txt", "--shots", "pictures", "--report-first-frame"}, played));
  EXPECT_EQ(played.play, "game.txt");
  EXPECT_EQ(played.shots, "pictures");
  EXPECT_TRUE(played.reportFirstFrame);
  for (const QStringList& wrong : {QStringList{"--fullscreen", "--window"},
                                   QStringList{"--shots", "pictures"},
                                   QStringList{"--bogus"}, QStringList{"folder"},
                                   QStringList{"--data"}, QStringList{"--data", "/no/such/folder"},
                                   QStringList{"--data", QString(300, 'a')}}) {
    CommandLine ignored;
    QString error;
    EXPECT_FALSE(Parses(wrong, ignored, &error)) << wrong.join(' ').toStdString();
    EXPECT_FALSE(error.isEmpty());
  }
}

// The game program run with no screen at all: no display, no Qt platform.
// What it says on standard error is the run's output.
ProgramRun RunWithoutScreen(const std::string& arguments) {
  return RunProgram("env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM= " +
                             std::string(KIRAVEL_WINDOW_PATH) + " " + arguments + " 2>&1 >/dev/null");
}

// A mistyped option is answered in text, as --help is, even where no window
// could open.
TEST(WindowCommandLine, UsageErrorsNeedNoScreen) {
  for (const char* wrong : {"--bogus", "--fullscreen --window", "--data /no/such/folder"}) {
    const ProgramRun run = RunWithoutScreen(wrong);
    EXPECT_EQ(run.status, kUsageError) << wrong << "\n" << run.output;
    EXPECT_NE(run.output.find("kiravel: "), std::string::npos) << run.output;
    EXPECT_NE(run.output.find("Usage:"), std::string::npos) << run.output;
    EXPECT_NE(run.output.find("--data <DIR>"), std::string::npos) << run.output;
  }
}

// The window and the runner keep an installed game's save in one place, so
// either finds what the other wrote.
TEST(WindowFolders, WindowAndRunnerAgreeOnThePlayersFolder) {
  testing::DataFolder home;
  const QByteArray oldData = qgetenv("XDG_DATA_HOME");
  qputenv("XDG_DATA_HOME", QByteArray::fromStdString(home.Path() + "data"));
  EXPECT_EQ(WindowPlayerFolder(), home.Path() + "data/kiravel/");
  EXPECT_EQ(WindowPlayerFolder(), PlayerFolder());
  qputenv("XDG_DATA_HOME", oldData);
  if (oldData.isEmpty()) qunsetenv("XDG_DATA_HOME");
}

// A second window started on the same folder says the game is open already
// and where its save lies; the folder is free again once the first goes.
TEST(WindowFolders, ASecondWindowIsToldTheGameIsAlreadyOpen) {
  testing::DataFolder data;
  OpenFolder first;
  EXPECT_EQ(HoldPlayedFolder(data.Path(), true, &first), "");
  {
    OpenFolder second;
    const std::string notice = HoldPlayedFolder(data.Path(), true, &second);
    EXPECT_NE(notice.find("このゲームはもう別のウィンドウで開いています。"), std::string::npos);
    EXPECT_NE(notice.find(data.Path() + SaveFolderPath()), std::string::npos);
  }
  first = OpenFolder();
  OpenFolder third;
  EXPECT_EQ(HoldPlayedFolder(data.Path(), true, &third), "");
}

// The window started on a folder holds that folder's save, wherever it was
// started from: a window on another folder, started from the same place,
// plays on untroubled, and one on a folder already held is told so.
TEST(WindowFolders, TheWindowHoldsTheFolderItPlaysNotTheOneItStartedIn) {
  testing::DataFolder data;
  for (const std::string part : {PictureFolderPath(), TextFolderPath(), std::string(kMusicFile)}) {
    std::filesystem::copy(std::string(KIRAVEL_GAME_DIR) + "/" + part, data.Path() + part,
                          std::filesystem::copy_options::recursive |
                              std::filesystem::copy_options::overwrite_existing);
  }
  data.WriteText("opened.scenario", {"shot opened", "close"});
  testing::DataFolder started;
  auto boxesShown = [&] {
    const std::string shots = started.Path() + "shots/";
    std::filesystem::remove_all(shots);
    std::filesystem::create_directories(shots);
    const ProgramRun run = RunProgram(
        "cd " + started.Path() + " && env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM=offscreen "
        "SDL_AUDIODRIVER=dummy HOME=" + started.Path() + " XDG_CONFIG_HOME=" + started.Path() +
        "config XDG_DATA_HOME=" + started.Path() + "data " + KIRAVEL_WINDOW_PATH +
        " --window --mute --data " + data.Path() + " --play " + data.Path() +
        "opened.scenario --shots " + shots + " 2>/dev/null");
    EXPECT_EQ(run.status, 0);
    int boxes = 0;
    for (const auto& shot : std::filesystem::directory_iterator(shots)) {
      boxes += shot.path().filename().string().starts_with("box-");
    }
    return boxes;
  };
  {
    // Another game holds the folder the window is started in.
    OpenFolder elsewhere;
    ASSERT_EQ(HoldPlayedFolder(started.Path(), true, &elsewhere), "");
    EXPECT_EQ(boxesShown(), 0);
  }
  OpenFolder played;
  ASSERT_EQ(HoldPlayedFolder(data.Path(), true, &played), "");
  EXPECT_EQ(boxesShown(), 1);
}

// The next run opens where the last one closed, unless its command line
// says otherwise.
TEST(WindowPreferences, SizeFullScreenAndMuteOutliveTheWindow) {
  testing::DataFolder folder;
  QSettings settings(QString::fromStdString(folder.Path() + "kiravel.conf"), QSettings::IniFormat);
  MusicThread music(KIRAVEL_SOUND_MODULE_PATH);
  {
    QWidget window;
    WindowPreferences preferences(window, music, settings);
    preferences.Restore({});
    EXPECT_FALSE(window.isFullScreen());
    EXPECT_FALSE(preferences.Muted());
    window.resize(321, 234);
    preferences.ToggleFullScreen();
    preferences.ToggleMute();
    preferences.Remember();
  }
  {
    QWidget window;
    WindowPreferences preferences(window, music, settings);
    preferences.Restore({});
    EXPECT_TRUE(window.isFullScreen());
    EXPECT_TRUE(preferences.Muted());
    preferences.ToggleFullScreen();
    EXPECT_EQ(window.size(), QSize(321, 234));
  }
  QWidget window;
  WindowPreferences preferences(window, music, settings);
  preferences.Restore({false, false});
  EXPECT_FALSE(window.isFullScreen());
  EXPECT_TRUE(preferences.Muted());  // remembered: --mute can only add to it
}

// The desktop's icons are drawn from the same shapes as the window's: a
// missing font would silently drop the letter.
TEST(IconDesign, EveryShapeIsDrawnAndWrittenAsSvg) {
  const std::vector<IconShape> shapes = IconDesign();
  const std::string svg = IconSvg();
  std::size_t paths = 0;
  for (std::size_t at = 0; (at = svg.find("<path ", at)) != std::string::npos; ++at) ++paths;
  EXPECT_EQ(paths, shapes.size());
  for (const IconShape& shape : shapes) {
    EXPECT_FALSE(shape.path.isEmpty());
    EXPECT_TRUE(QRectF(0, 0, kIconDesignSize, kIconDesignSize)
                    .contains(shape.path.boundingRect()));
  }
  EXPECT_EQ(svg.find("d=\"Z\""), std::string::npos);
  const QImage icon = PaintIcon(256);
  EXPECT_EQ(icon.size(), QSize(256, 256));
  EXPECT_EQ(icon.pixelColor(0, 0).alpha(), 0);
  EXPECT_EQ(icon.pixelColor(40, 200), QColor(40, 60, 140));
}

}  // namespace
}  // namespace kiravel::qt
