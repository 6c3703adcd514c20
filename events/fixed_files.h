// The files the game opens under names of its own rather than ones a script
// gives, with what each is for: the pictures of its panels, the scenes it
// starts, the rumours it reads and the bonus page's pieces. kiravel-check
// asks a data folder for exactly this list, so a folder that passes the
// checker holds every file the game will look for.
#pragma once

#include <string>
#include <vector>

#include "platform/data_folder.h"

namespace kiravel {

// A fixed file by its name without its ending, and what the game uses it for.
struct FixedFile {
  std::string Name;
  std::string Role;
};
std::vector<FixedFile> FixedPictures();
// The scenes the game starts by name, the rumours and the bonus page's
// pieces.
std::vector<FixedFile> FixedTexts();

}  // namespace kiravel
