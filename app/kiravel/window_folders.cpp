#include "app/kiravel/window_folders.h"

#include <QCoreApplication>
#include <QStandardPaths>

#include "platform/game_folders.h"

namespace kiravel::qt {

std::string WindowDataFolder(const std::string& named) {
  return FindDataFolder(named, QCoreApplication::applicationDirPath().toStdString() + "/");
}

std::string WindowPlayerFolder() {
  return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation).toStdString() +
         "/kiravel/";
}

}  // namespace kiravel::qt
