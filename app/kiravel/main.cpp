// kiravel: the game in its window.
#include <QApplication>

#include <string>

#include "app/kiravel/appearance.h"
#include "app/kiravel/first_frame.h"
#include "app/kiravel/game_window.h"
#include "app/kiravel/qt_platform.h"
#include "app/kiravel/scenario_player.h"
#include "core/fom.h"
#include "platform/sdl_mci.h"

int main(int argc, char** argv) {
  kiravel::SdlMci music;
  music.StartAudioEarly();
  QApplication application(argc, argv);
  // The data folder lies beside the program.
  const std::string folder = QCoreApplication::applicationDirPath().toStdString() + "/";
  kiravel::qt::QtPlatform platform(music);
  // The title picture the start panel opens with decodes while the window
  // is being built.
  platform.DecodeAhead(folder + "img/ttl.dat");
  kiravel::qt::SetUpAppearance();
  kiravel::Fom fom(platform, folder);
  kiravel::qt::GameWindow window(fom, platform);
  window.setWindowIcon(kiravel::qt::GameIcon());
  kiravel::qt::ReportFirstFrame(window);
  window.Open();
  kiravel::qt::PlayScenarioFromEnvironment(fom, window);
  return QApplication::exec();
}
