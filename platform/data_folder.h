// The data folder as the game knows it: its folders, the endings and the
// music file, the save folder and its four files, the names the game gives
// files itself (the pictures of its panels, the scenes it starts by name,
// the rumours, the bonus page's pieces), the bonus page's ending and the
// name mark, what makes a folder a data folder, and which names a script
// may give a file. The game, the window, the runner, the checker, the soak,
// the tests and the fuzz targets all spell them through here.
#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace kiravel {

// ---- Folders, endings and the music ----

inline constexpr char kPictureFolder[] = "img";
inline constexpr char kTextFolder[] = "txt";
// Every picture and text file of the data folder ends so.
inline constexpr char kDataEnding[] = ".dat";
inline constexpr char kMusicFile[] = "bgm.wav";

// The folders as paths below the data folder: "img/", "txt/".
std::string PictureFolderPath();
std::string TextFolderPath();
// A picture or text file's own name: "ttl.dat".
std::string DataFileName(const std::string& name);
bool HasDataEnding(std::string_view fileName);
// A picture by its name, as a file of the program folder: "img/ttl.dat".
std::string PictureFile(const std::string& name);
// A text file (a scene, a rumour, a page piece) by its name: "txt/opn.dat".
std::string TextFile(const std::string& name);

// What the game looks for in a data folder (ending in "/") when it opens, as
// full paths, those that are missing: the title picture and the text folder
// (a folder ends in "/").
std::vector<std::string> MissingData(const std::string& folder);
// Whether the folder holds the game's data: nothing the opening looks for
// is missing there.
bool HoldsGameData(const std::string& folder);

// ---- The save ----

// The save folder inside the text folder.
inline constexpr char kSaveFolder[] = "save";
// "txt/save/", below the folder the game writes into.
std::string SaveFolderPath();
// The one save slot's four files, in the order they are written and read.
inline constexpr std::array<const char*, 4> kSaveFileNames = {"mati.dat", "you.dat", "irai.dat",
                                                              "save.dat"};

// ---- Names the game gives files itself ----

// In img/.
inline constexpr char kTitlePicture[] = "ttl";
inline constexpr char kTownPicture[] = "mati";
inline constexpr char kRoadPicture[] = "you";
inline constexpr char kTavernPicture[] = "bar";
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

// ---- The bonus page ----

// The text pieces a bonus page is made of, in txt/.
inline constexpr char kPageHead[] = "head";
inline constexpr char kPageFoot[] = "foot";
std::string CharacterPiece(const std::string& key);
// The story line's eleven pictures the page shows, one below the other.
std::vector<std::string> BonusPictures(const std::string& key);
// A page is written under the name the script gives and this ending.
inline constexpr char kPageEnding[] = "＿おまけ.html";
// Stands for the courier's name in a text line and in a bonus page's
// character text.
inline constexpr char kNameMark[] = "-m";

// ---- Names a script gives ----

// The longest file name the file system keeps, less the longest ending the
// game adds to a name (the bonus page's).
inline constexpr std::size_t kLongestNamePart = 255 - std::string_view(kPageEnding).size();

// Whether a name a script gives for a file (a picture, ">img"; a bonus page
// and its story key, ">html") may become part of one file name in one folder
// of the game; the game, the runner and the checker all judge them by this
// one rule, so what the checker passes is exactly what the game will open.
// Refused: anything that would leave the folder ("/", "\", ".."); NUL, which
// the system would take for the end of the name, and every other control
// character; the characters a Windows copy of the data folder could not hold
// (a name with ":" there names a drive or a hidden stream); and names too
// long to be written with any ending the game adds.
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
