// A game as the save keeps it: the lines of its four files. The window keeps
// the game as it was last started, saved or loaded in this form, to tell
// whether closing would lose anything.
#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <vector>

namespace kiravel {

enum class SaveFile : std::size_t { Towns, Fairies, Jobs, Scalars };

// The lines of each file, in the order they are written and read.
struct SaveSet {
  std::array<std::vector<std::string>, 4> Lines;
  std::vector<std::string>& operator[](SaveFile f) { return Lines[static_cast<std::size_t>(f)]; }
  const std::vector<std::string>& operator[](SaveFile f) const {
    return Lines[static_cast<std::size_t>(f)];
  }
};

}  // namespace kiravel
