// Where the game finds its data and where it may write. The front ends decide
// both folders with these rules and hand them to the game; the game itself
// asks nobody.
#pragma once

#include <string>

namespace kiravel {

// The environment variable that names the data folder, like --data.
inline constexpr const char* kDataVariable = "KIRAVEL_DATA";

// The data folder, ending in "/": the one named (by --data) when there is
// one, else the one KIRAVEL_DATA names; otherwise the program's own folder
// when it holds the data, as a game unpacked in one folder has it; otherwise
// the installed data folder beside the programs' folder. When neither holds the data the
// program's folder is kept, and the game reports what is missing there.
std::string FindDataFolder(const std::string& named, const std::string& programFolder);

// The folder of the running program, ending in "/" ("./" when unknown).
std::string ProgramFolder();

// The player's own folder for the game, ending in "/": $XDG_DATA_HOME/kiravel/,
// or ~/.local/share/kiravel/ when that variable is unset or not absolute. The
// home "~" is $HOME, or when that is unset or empty the home the system's
// user database names: the window and the runner agree on it.
std::string PlayerFolder();

// Where the save and the bonus pages go: the data folder itself when the
// player may write there, otherwise the player's own folder.
std::string WritableFolder(const std::string& dataFolder, const std::string& playerFolder);

}  // namespace kiravel
