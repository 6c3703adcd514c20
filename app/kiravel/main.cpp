// kiravel: the game in its window.
#include <QApplication>
#include <QSettings>

#include <filesystem>
#include <iostream>
#include <optional>
#include <string>

#include "app/kiravel/appearance.h"
#include "app/kiravel/command_line.h"
#include "app/kiravel/game_window.h"
#include "app/kiravel/key_page.h"
#include "app/kiravel/music_thread.h"
#include "app/kiravel/qt_language.h"
#include "app/kiravel/qt_platform.h"
#include "app/kiravel/scenario_player.h"
#include "app/kiravel/scene_preview.h"
#include "app/kiravel/window_folders.h"
#include "app/kiravel/window_preferences.h"
#include "core/fom.h"
#include "desktop/first_frame.h"
#include "kiravel/build_info.h"
#include "platform/data_folder.h"
#include "platform/game_folders.h"
#include "scenario/recorder.h"

namespace {

// The sound module lies where the build and the installation put it, at the
// same place relative to the program.
std::string SoundModule() {
  std::error_code error;
  std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", error);
  return (program.parent_path() / KIRAVEL_SOUND_MODULE).string();
}

}  // namespace

int main(int argc, char** argv) {
  // --help, --version and usage errors print their text without a screen.
  if (kiravel::qt::AnswersInTextAlone(argc, argv)) qputenv("QT_QPA_PLATFORM", "offscreen");
  kiravel::qt::MusicThread music(SoundModule());
  QApplication application(argc, argv);
  QApplication::setApplicationName("kiravel");
  QApplication::setOrganizationName("kiravel");
  QApplication::setApplicationVersion(kiravel::kVersion);
  QGuiApplication::setDesktopFileName(kiravel::kDesktopId);
  kiravel::qt::CommandLineParser parser;
  kiravel::qt::CommandLine line;
  if (!parser.Parse(QApplication::arguments(), line)) {
    std::cerr << "kiravel: " << parser.Error().toStdString() << "\n\n" << parser.Help().toStdString();
    return kiravel::qt::kUsageError;
  }
  if (parser.WantsHelp()) {
    std::cout << parser.Help().toStdString();
    return 0;
  }
  if (parser.WantsVersion()) {
    std::cout << "kiravel " << kiravel::kVersion << "\n";
    return 0;
  }
  const std::string folder = kiravel::qt::WindowDataFolder(line.data);
  kiravel::qt::QtPlatform platform(music);
  // The title picture the start panel opens with decodes while the window
  // is being built.
  platform.DecodeAhead(folder + kiravel::PictureFile(kiravel::kTitlePicture));
  kiravel::qt::SetUpAppearance();
  kiravel::qt::SpeakJapanese();
  // The folder the game will write into is held from here on, before the
  // game itself has opened it.
  const std::string writable = kiravel::WritableFolder(folder, kiravel::qt::WindowPlayerFolder());
  kiravel::Fom fom(platform, folder, writable);
  kiravel::OpenFolder played;
  if (std::string notice = kiravel::qt::HoldPlayedFolder(writable, writable == folder, &played);
      !notice.empty()) {
    platform.HoldFailures();
    platform.ReportFailure(notice);
  }
  kiravel::qt::GameWindow window(fom, platform);
  QSettings settings;
  kiravel::qt::WindowPreferences preferences(window, music, settings, &window.Reading());
  preferences.FollowSlowBattles([&window](bool slow) { window.SlowBattles(slow); });
  preferences.Restore(line.choices);
  kiravel::qt::OfferKeyPage(window, &window.Reading());
  QObject::connect(&application, &QCoreApplication::aboutToQuit, [&] { preferences.Remember(); });
  // What the first frame does not show waits until it is on the screen: the
  // sound module (loading the audio libraries beside the window's own would
  // delay it; the music commands of the window's opening wait on the music
  // thread meanwhile) and the window's icon, painted in three sizes.
  kiravel::qt::AfterFirstFrame(window, [&music, &window] {
    music.Start();
    window.setWindowIcon(kiravel::qt::GameIcon());
  });
  // Asked last, the report comes before the work above: the moment it gives
  // is the first frame's, not the icon's.
  if (line.reportFirstFrame) kiravel::qt::ReportFirstFrame(window);
  std::optional<kiravel::scenario::Recorder> recorder;
  if (!line.record.empty()) {
    recorder.emplace(line.record);
    if (!recorder->IsOpen()) {
      std::cerr << "kiravel: cannot write the recording " << line.record << "\n";
      return kiravel::qt::kUsageError;
    }
    if (preferences.SlowBattles()) recorder->Note(kiravel::qt::kSlowBattlesRemark);
    window.RecordTo(*recorder);
  }
  window.Reading().KeepReadPagesIn(kiravel::qt::WindowPlayerFolder());
  window.Open();
  if (!line.scene.empty()) (new kiravel::qt::ScenePreview(window, line.scene))->Play();
  if (!line.play.empty() && !kiravel::qt::PlayScenario(fom, window, platform, line.play, line.shots)) {
    std::cerr << "kiravel: cannot read the scenario " << line.play << "\n";
    return kiravel::qt::kUsageError;
  }
  return QApplication::exec();
}
