// What the game window looks for when it opens: the data folder beside the
// program. Whatever is missing is told in one box, with the full paths, so a
// player who unpacked only the program knows where the data belongs.
#pragma once

#include <string>
#include <vector>

namespace kiravel::qt {

// The full paths of what is missing: the title picture and the text folder
// (a folder ends in "/"). appPath ends in "/".
std::vector<std::string> MissingData(const std::string& appPath);

// The text of the one box the opening shows, or "" when there is nothing to
// tell. The failures are those the game met while opening; a missing data
// folder explains them, so they are told only when nothing is missing.
std::string OpeningNotice(const std::vector<std::string>& missing,
                          const std::vector<std::string>& failures);

}  // namespace kiravel::qt
