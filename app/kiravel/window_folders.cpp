#include "app/kiravel/window_folders.h"

#include "platform/data_folder.h"
#include "platform/game_folders.h"

namespace kiravel::qt {

// The program's folder as the bytes the system names it: Qt's text for it
// loses a folder name that is not UTF-8 (one unpacked from a Japanese
// Windows archive, in CP932).
std::string WindowDataFolder(const std::string& named) { return FindDataFolder(named, ProgramFolder()); }

std::string WindowPlayerFolder() { return PlayerFolder(); }

std::string HoldPlayedFolder(const std::string& writeFolder, bool isDataFolder, OpenFolder* held) {
  const FolderPlace place = WritablePlace(writeFolder, isDataFolder);
  FolderOpening opening = OpenFolderPlace(place, !isDataFolder);
  // A folder that cannot be opened is told when the game first writes there.
  if (opening.Error != FolderError::None) return "";
  *held = std::move(opening.Folder);
  if (held->TryHold()) return "";
  return "このゲームはもう別のウィンドウで開いています。\r\nセーブの場所：" + place.Path() + SaveFolderPath() +
         "\r\n両方でセーブすると、後からセーブした方が残ります。";
}

}  // namespace kiravel::qt
