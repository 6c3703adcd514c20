// Where the window's game reads and writes: the same rules as the runner's,
// with the player's folder asked of Qt as the desktop sees it.
#pragma once

#include <string>

namespace kiravel::qt {

// The data folder: --data's DIR when given, else by the usual rule from the
// program's folder.
std::string WindowDataFolder(const std::string& named);

// The player's own folder for the game, from QStandardPaths, ending in "/".
std::string WindowPlayerFolder();

}  // namespace kiravel::qt
