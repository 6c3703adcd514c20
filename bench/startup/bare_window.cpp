// The smallest Qt window of the game's first size, for the start-up
// benchmark to measure the game window against.
#include <QApplication>
#include <QWidget>

#include "desktop/first_frame.h"

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  QWidget window;
  window.resize(775, 574);
  window.setWindowTitle(QStringLiteral("Kiravel"));
  kiravel::qt::ReportFirstFrame(window);
  window.show();
  return application.exec();
}
