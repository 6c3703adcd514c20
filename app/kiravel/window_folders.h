// Where the window's game reads and writes: the same rules as the runner's.
#pragma once

#include <string>

#include "platform/open_folder.h"

namespace kiravel::qt {

// The data folder: --data's DIR when given, else by the usual rule from the
// program's folder.
std::string WindowDataFolder(const std::string& named);

// The player's own folder for the game, ending in "/", by the runner's rule:
// Qt's own guess goes wrong when HOME is unset.
std::string WindowPlayerFolder();

// Marks the folder the game writes into as played by this window for as
// long as the returned folder is kept open. When another window already
// plays there, the text telling the player so and where; otherwise "".
std::string HoldPlayedFolder(const std::string& writeFolder, bool isDataFolder, OpenFolder* held);

}  // namespace kiravel::qt
