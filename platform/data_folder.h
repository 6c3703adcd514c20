// The names the game gives files of its data folder itself, rather than
// ones a script gives: the pictures of its panels, the scenes it starts by
// name, the rumours and the bonus page's pieces. The game, the runner, the
// checker and the soak all spell them through here.
#pragma once

#include <string>
#include <vector>

namespace kiravel {

// The data folder's two folders: the pictures and the texts.
inline constexpr char kPictureFolder[] = "img";
inline constexpr char kTextFolder[] = "txt";

// What the game looks for in a data folder (ending in "/") when it opens, as
// full paths, those that are missing: the title picture and the text folder
// (a folder ends in "/").
std::vector<std::string> MissingData(const std::string& folder);
// Whether the folder holds the game's data: nothing the opening looks for
// is missing there.
bool HoldsGameData(const std::string& folder);

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

// In txt/: what each picture shows, in words a screen reader says.
inline constexpr char kPictureDescriptions[] = "pictures";

// The scenes the game starts by name.
inline constexpr char kOpeningScene[] = "opn";
inline constexpr char kYearRunOutScene[] = "badend_day";
inline constexpr char kStaminaRunOutScene[] = "badend_hp";
inline constexpr char kClosingScene[] = "end";

// The text pieces a bonus page is made of, in txt/.
inline constexpr char kPageHead[] = "head";
inline constexpr char kPageFoot[] = "foot";
std::string CharacterPiece(const std::string& key);
// The story line's eleven pictures the page shows, one below the other.
std::vector<std::string> BonusPictures(const std::string& key);

}  // namespace kiravel
