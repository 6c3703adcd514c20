// The files the game opens under names of its own rather than ones a script
// gives: the pictures of its panels, the scenes it starts and the rumours it
// reads. The game opens each through these names, and kiravel-check asks a
// data folder for exactly this list, so a folder that passes the checker
// holds every file the game will look for.
#pragma once

#include <string>
#include <vector>

namespace kiravel {

// In img/.
inline constexpr char kTitlePicture[] = "ttl";
inline constexpr char kTownPicture[] = "mati";
inline constexpr char kRoadPicture[] = "you";
inline constexpr char kTavernPicture[] = "bar";
// A picture by its name, as a file of the program folder: "img/ttl.dat".
std::string PictureFile(const std::string& name);
// The monster of an attribute: "mon" and the attribute's number as the
// battle gives it.
std::string MonsterPicture(const std::string& attribute);

// In txt/: one of these is read each time a rumour is bought.
inline constexpr int kRumourFiles = 3;
std::string RumourFile(int number);

// A fixed file by its name without ".dat", and what the game uses it for.
struct FixedFile {
  std::string Name;
  std::string Role;
};
std::vector<FixedFile> FixedPictures();
// The scenes the game starts by name, the rumours and the bonus page's
// pieces.
std::vector<FixedFile> FixedTexts();

}  // namespace kiravel
