// kiravel-icons NAME FOLDER: draws the desktop's icons of the game into
// FOLDER laid out as the hicolor theme is: FOLDER/48x48/apps/NAME.png (and
// 128, 256) and FOLDER/scalable/apps/NAME.svg, all from the icon design the
// window shows.
#include <QDir>
#include <QGuiApplication>
#include <fstream>
#include <iostream>

#include "desktop/icon_design.h"

int main(int argc, char** argv) {
  if (argc != 3) {
    std::cerr << "usage: kiravel-icons NAME FOLDER\n";
    return 2;
  }
  // The letter's outline comes from the font database, which needs an
  // application; no screen is needed.
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication application(argc, argv);
  const QString name = QString::fromLocal8Bit(argv[1]);
  const QString folder = QString::fromLocal8Bit(argv[2]);
  for (int size : {48, 128, 256}) {
    const QString place = folder + QStringLiteral("/%1x%1/apps").arg(size);
    if (!QDir().mkpath(place) ||
        !kiravel::qt::PaintIcon(size).save(place + "/" + name + ".png", "PNG")) {
      std::cerr << place.toStdString() << ": cannot write\n";
      return 1;
    }
  }
  const QString place = folder + "/scalable/apps";
  QDir().mkpath(place);
  std::ofstream svg((place + "/" + name + ".svg").toStdString(), std::ios::binary);
  svg << kiravel::qt::IconSvg();
  if (!svg.flush()) {
    std::cerr << place.toStdString() << ": cannot write\n";
    return 1;
  }
  return 0;
}
