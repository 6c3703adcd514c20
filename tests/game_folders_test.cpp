// Where the game finds its data and where it writes: a game unpacked in one
// folder keeps everything there; an installed game reads its data from the
// install and keeps the save and bonus pages in the player's own folder.
#include <gtest/gtest.h>
#include <pwd.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>

#include "kiravel/build_info.h"
#include "platform/data_folder.h"
#include "platform/game_folders.h"
#include "testing/game_fixture.h"

namespace kiravel {
namespace {

namespace fs = std::filesystem;

// Sets an environment variable for one test and puts it back afterwards.
class ScopedVariable {
 public:
  ScopedVariable(const char* name, const char* value) : name_(name) {
    if (const char* old = std::getenv(name)) old_ = old;
    if (value != nullptr) {
      ::setenv(name, value, 1);
    } else {
      ::unsetenv(name);
    }
  }
  ~ScopedVariable() {
    if (old_) {
      ::setenv(name_, old_->c_str(), 1);
    } else {
      ::unsetenv(name_);
    }
  }

 private:
  const char* name_;
  std::optional<std::string> old_;
};

// What the opening looks for: the title picture and the text folder.
void PutData(const std::string& folder) {
  fs::create_directories(folder + kTextFolder);
  fs::create_directories(folder + kPictureFolder);
  std::ofstream(folder + PictureFile(kTitlePicture)) << "BM";
}

TEST(DataFolder, NamedThenProgramFolderThenTheInstalledOne) {
  ScopedVariable unset(kDataVariable, nullptr);
  testing::DataFolder root;
  const std::string programs = root.Path() + "usr/games/";
  const std::string installed =
      fs::path(programs + kInstalledDataFromPrograms).lexically_normal().string();
  fs::create_directories(programs);
  // Neither holds data: the program folder is kept, for the game to report.
  EXPECT_EQ(FindDataFolder("", programs), programs);
  PutData(installed);
  EXPECT_EQ(FindDataFolder("", programs), installed);
  EXPECT_EQ(installed, root.Path() + "usr/share/games/kiravel/");
  // Folders without the title picture are not yet the game's data: the
  // opening would tell it missing there.
  fs::create_directories(programs + kPictureFolder);
  fs::create_directories(programs + kTextFolder);
  EXPECT_EQ(FindDataFolder("", programs), installed);
  // A game unpacked with its data beside the programs keeps today's layout.
  PutData(programs);
  EXPECT_EQ(FindDataFolder("", programs), programs);
  // A named folder wins, made whole and ending in "/"; the variable names
  // one for every program, and --data still wins over it.
  EXPECT_EQ(FindDataFolder(root.Path() + "usr/./share/games/kiravel", programs), installed);
  ScopedVariable variable(kDataVariable, (root.Path() + "usr/share/games/kiravel").c_str());
  EXPECT_EQ(FindDataFolder("", programs), installed);
  EXPECT_EQ(FindDataFolder(programs, programs), programs);
}

TEST(PlayerFolder, FollowsXdgDataHomeElseHome) {
  ScopedVariable home("HOME", "/home/courier");
  {
    ScopedVariable data("XDG_DATA_HOME", "/var/courier/data/");
    EXPECT_EQ(PlayerFolder(), "/var/courier/data/kiravel/");
  }
  for (const char* unusable : {static_cast<const char*>(nullptr), "", "relative/data"}) {
    ScopedVariable data("XDG_DATA_HOME", unusable);
    EXPECT_EQ(PlayerFolder(), "/home/courier/.local/share/kiravel/");
  }
}

// A game whose data folder the player cannot write: the save and the pages go
// to the player's folder, and the data folder is left exactly as it was.
struct InstalledGame : testing::Game {
  InstalledGame() {
    data.WriteScript("head", {"<html>"});
    data.WriteScript("char1", {kNameMark});
    data.WriteScript("foot", {"</html>"});
    fom = std::make_unique<Fom>(platform, data.Path(), player.Path() + "kiravel");
    fom->Form_Load();
    fom->Form_Resize();
    fom->Form_Activate();
  }
  testing::DataFolder player;
};

TEST(PlayerFolder, SaveAndLoadUseThePlayersFolderAndNameIt) {
  InstalledGame game;
  game.StartInTown(1);
  const std::string saves = game.player.Path() + "kiravel/" + SaveFolderPath();
  game.fom->SaveGame();
  EXPECT_TRUE(fs::exists(saves + DataFileName("save")));
  EXPECT_FALSE(fs::exists(game.data.Path() + TextFolderPath() + "save"));
  ASSERT_FALSE(game.MessageTexts().empty());
  EXPECT_EQ(game.MessageTexts().back(), "SAVE　OK\r\n" + saves);
  const std::int32_t saved = game.fom->Money;
  game.fom->AddMoney(100);
  EXPECT_TRUE(game.fom->LoadGame());
  EXPECT_EQ(game.fom->Money, saved);
}

// The page's pictures are copied beside it: it still shows them when the
// installed game, and its picture folder, are gone.
TEST(PlayerFolder, BonusPageKeepsCopiesOfItsPictures) {
  InstalledGame game;
  for (const std::string picture : {"10", "15", "19_2"}) game.data.WritePicture(picture, 3, 2);
  const std::string pages = game.player.Path() + "kiravel/";
  // Earlier versions linked the picture folder to the install: the link makes way.
  fs::create_directories(pages);
  fs::create_directory_symlink(game.data.Path() + PictureFolderPath(), pages + kPictureFolder);
  game.fom->WriteBonusPage("1,x");
  EXPECT_TRUE(game.platform.Failures.empty());
  EXPECT_TRUE(fs::exists(pages + std::string("x") + kPageEnding));
  EXPECT_FALSE(fs::exists(game.data.Path() + std::string("x") + kPageEnding));
  ASSERT_FALSE(fs::is_symlink(pages + kPictureFolder));
  fs::remove_all(game.data.Path() + kPictureFolder);
  for (const std::string picture : {"10", "15", "19_2"}) {
    EXPECT_EQ(testing::BmpBytes(3, 2), game.player.Read("kiravel/" + PictureFolderPath() + picture + kDataEnding));
  }
  // Pictures the data lacks are not made up; the page's text refers to all.
  EXPECT_FALSE(fs::exists(pages + PictureFile("11")));
  EXPECT_NE(game.player.Read(std::string("kiravel/x") + kPageEnding).find("<img src=./" + PictureFile("19_1")), std::string::npos);
}

// Started without HOME, or with it empty, the game still saves in the
// player's home as the system knows it, never below the folder it was
// started from.
TEST(PlayerFolder, AHomeIsFoundWithoutHome) {
  ScopedVariable data("XDG_DATA_HOME", nullptr);
  const passwd* player = ::getpwuid(::getuid());
  ASSERT_NE(player, nullptr);
  const std::string expected =
      (fs::path(player->pw_dir) / ".local/share/kiravel").lexically_normal().string() + "/";
  for (const char* unusable : {static_cast<const char*>(nullptr), ""}) {
    ScopedVariable home("HOME", unusable);
    EXPECT_EQ(PlayerFolder(), expected);
  }
}

TEST(PlayerFolder, APlayerFolderThatCannotBeMadeIsReported) {
  testing::Game game;
  testing::DataFolder home;
  home.WriteBytes("blocked", "a file, not a folder");
  const std::string folder = home.Path() + "blocked/kiravel/";
  game.fom = std::make_unique<Fom>(game.platform, game.data.Path(), folder);
  game.fom->Form_Load();
  game.fom->WriteBonusPage("1,x");
  auto names = [&](const std::string& text) {
    return std::any_of(game.platform.Failures.begin(), game.platform.Failures.end(),
                       [&](const std::string& failure) { return failure.find(text) != failure.npos; });
  };
  EXPECT_TRUE(names("おまけページ「" + folder + std::string("x") + kPageEnding + "」を書けません"));
}

}  // namespace
}  // namespace kiravel
