// Names a script gives for files: a picture, a bonus page. Each is meant for
// one folder of the game and must not reach out of it.
#pragma once

#include <string_view>

namespace kiravel {

inline bool StaysInFolder(std::string_view name) {
  return name.find_first_of("/\\") == std::string_view::npos &&
         name.find("..") == std::string_view::npos;
}

}  // namespace kiravel
