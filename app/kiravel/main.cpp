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
  kiravel::qt::SetUpAppearance();
  kiravel::qt::QtPlatform platform(music);
  // The data folder lies beside the program.
  kiravel::Fom fom(platform, QCoreApplication::applicationDirPath().toStdString() + "/");
  kiravel::qt::GameWindow window(fom, platform);
  window.setWindowIcon(kiravel::qt::GameIcon());
  kiravel::qt::ReportFirstFrame(window);
  window.Open();
  kiravel::qt::PlayScenarioFromEnvironment(fom, window);
  return QApplication::exec();
}
