// The folders on the way to the save and the bonus pages: a link put in
// place of one of them is refused, never written through, and the game
// clears what it left behind when it was stopped.
#include <gtest/gtest.h>
#include <fcntl.h>
#include <sys/stat.h>

#include <ctime>

#include <filesystem>
#include <string>

#include "platform/data_folder.h"
#include "testing/game_fixture.h"

namespace kiravel {
namespace {

namespace fs = std::filesystem;

// A folder elsewhere that a link could lead to, with things of its own.
struct Elsewhere {
  Elsewhere() {
    folder.WriteBytes(DataFileName("mati"), "someone else's file");
    folder.WriteBytes(SaveFolderPath() + DataFileName("mati"), "someone else's file");
    folder.WriteBytes("commit.lst.bad/keep.txt", "kept");
  }
  bool Untouched() const {
    return folder.Read(DataFileName("mati")) == "someone else's file" &&
           folder.Read(SaveFolderPath() + DataFileName("mati")) == "someone else's file" &&
           folder.Read("commit.lst.bad/keep.txt") == "kept" && !fs::exists(folder.Path() + DataFileName("save")) &&
           !fs::exists(folder.Path() + std::string("x") + kPageEnding);
  }
  testing::DataFolder folder;
};

bool Told(const testing::Game& game, const std::string& text) {
  for (const std::string& failure : game.platform.Failures) {
    if (failure.find(text) != std::string::npos) return true;
  }
  return false;
}

TEST(SaveFolder, ALinkOnTheWayIsRefusedAndNothingIsWritten) {
  // The save folder, the text folder and the player's own folder, each a link.
  for (const std::string linked : {TextFolderPath() + kSaveFolder, std::string(kTextFolder), std::string("player")}) {
    SCOPED_TRACE(linked);
    Elsewhere elsewhere;
    testing::Game game;
    testing::DataFolder home;
    const bool player = linked == "player";
    const std::string write = player ? home.Path() + "kiravel/" : game.data.Path();
    if (player) {
      game.fom = std::make_unique<Fom>(game.platform, game.data.Path(), write);
      game.fom->Form_Load();
      game.fom->Form_Resize();
      game.fom->Form_Activate();
    }
    if (linked == kTextFolder) fs::rename(game.data.Path() + kTextFolder, game.data.Path() + "texts");
    fs::create_directory_symlink(elsewhere.folder.Path() + (linked == kTextFolder ? kTextFolder : ""),
                                 player ? write.substr(0, write.size() - 1) : write + linked);
    if (linked == kTextFolder) {
      fs::copy(game.data.Path() + "texts", elsewhere.folder.Path() + kTextFolder,
               fs::copy_options::recursive | fs::copy_options::skip_existing);
    }
    game.StartInTown(1);
    game.platform.Failures.clear();
    game.fom->SaveGame();
    EXPECT_TRUE(Told(game, "セーブできませんでした。前のセーブはそのまま残っています。")) << linked;
    EXPECT_TRUE(Told(game, "フォルダではなくリンクです")) << linked;
    EXPECT_FALSE(game.fom->LoadGame());
    game.fom->WriteBonusPage("1,x");
    if (player) {
      EXPECT_TRUE(Told(game, "はフォルダではなくリンクです"));
    }
    EXPECT_TRUE(elsewhere.Untouched());
  }
}

// A stand-in page of a game stopped while writing it, and a manifest set
// aside: neither stays for ever. A stand-in some other game is writing this
// moment (touched just now) and a folder that only bears the name are not
// the game's to remove.
TEST(SaveFolder, LeftoversOfAStoppedGameAreClearedAtTheNextSave) {
  testing::Game game;
  const std::string& root = game.data.Path();
  game.data.WriteBytes(".kiravel-AbC123", "half a page");
  game.data.WriteBytes(".kiravel-Now456", "a page being written");
  const timespec twoHoursAgo[2] = {{::time(nullptr) - 7200, 0}, {::time(nullptr) - 7200, 0}};
  ASSERT_EQ(::utimensat(AT_FDCWD, (root + ".kiravel-AbC123").c_str(), twoHoursAgo, 0), 0);
  game.data.WriteBytes(SaveFolderPath() + "commit.lst.bad", "a list set aside");
  game.StartInTown(1);
  game.fom->SaveGame();
  EXPECT_TRUE(game.platform.Failures.empty());
  EXPECT_FALSE(fs::exists(root + SaveFolderPath() + "commit.lst.bad"));
  EXPECT_FALSE(fs::exists(root + ".kiravel-AbC123"));
  EXPECT_TRUE(fs::exists(root + ".kiravel-Now456"));
  fs::create_directories(root + SaveFolderPath() + "commit.lst.bad/mine");
  game.fom->SaveGame();
  EXPECT_TRUE(fs::exists(root + SaveFolderPath() + "commit.lst.bad/mine"));
  EXPECT_TRUE(game.fom->LoadGame());
}

}  // namespace
}  // namespace kiravel
