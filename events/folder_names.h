// Names a script gives for files: a picture (">img"), a bonus page and its
// story key (">html"). Each becomes part of one file name in one folder of
// the game; the game, the runner and the checker all judge them by this one
// rule, so what the checker passes is exactly what the game will open.
#pragma once

#include <cstddef>
#include <string_view>

namespace kiravel {

// The longest file name the file system keeps, less the longest ending the
// game adds to a name ("＿おまけ.html").
inline constexpr std::size_t kLongestNamePart = 255 - std::string_view("＿おまけ.html").size();

// Whether the name may become part of a file name. Refused: anything that
// would leave the folder ("/", "\", ".."); NUL, which the system would take
// for the end of the name, and every other control character; the
// characters a Windows copy of the data folder could not hold (a name with
// ":" there names a drive or a hidden stream); and names too long to be
// written with any ending the game adds.
constexpr bool IsSafeNamePart(std::string_view name) {
  if (name.size() > kLongestNamePart || name.find("..") != std::string_view::npos) return false;
  for (std::size_t i = 0; i < name.size(); ++i) {
    const auto c = static_cast<unsigned char>(name[i]);
    if (c < 0x20 || c == 0x7F) return false;
    // U+0080..U+009F, the second set of control characters, in UTF-8.
    if (c == 0xC2 && i + 1 < name.size() && static_cast<unsigned char>(name[i + 1]) <= 0x9F) {
      return false;
    }
    if (std::string_view("/\\:*?\"<>|").find(static_cast<char>(c)) != std::string_view::npos) {
      return false;
    }
  }
  return true;
}

}  // namespace kiravel
