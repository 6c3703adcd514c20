// Two games started on one save folder, saving and loading at the same
// moments for many rounds: after every round the folder loads, whole, and
// holds the game whose save last said "SAVE OK".
#include "platform/data_folder.h"
#include "soak/two_players.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <iostream>
#include <string>

namespace kiravel::soak {
namespace {

namespace fs = std::filesystem;

// A copy of the game's program folder without a save, removed afterwards.
class SharedFolder {
 public:
  SharedFolder() : path_(fs::temp_directory_path() / ("kiravel-two-" + std::to_string(::getpid()))) {
    fs::remove_all(path_);
    fs::create_directories(path_);
    for (const char* part : {kPictureFolder, kTextFolder}) {
      fs::copy(fs::path(KIRAVEL_GAME_DIR) / part, path_ / part, fs::copy_options::recursive);
    }
    fs::remove_all(path_ / kTextFolder / "save");
  }
  ~SharedFolder() { fs::remove_all(path_); }
  const fs::path& Path() const { return path_; }

 private:
  fs::path path_;
};

TEST(TwoPlayers, SavesAndLoadsAtOnceNeverLoseOrMixAGame) {
  SharedFolder folder;
  TwoPlayers players(KIRAVEL_RUN_PATH, folder.Path(), 11);
  constexpr int kRounds = 100;
  int sound = 0, saveFailed = 0, loadFailed = 0, notLoading = 0, wrongGame = 0;
  int saved = 0, refused = 0, loaded = 0;
  std::string firstProblem;
  for (int round = 0; round < kRounds; ++round) {
    // Mostly both save; every third round one of them loads meanwhile.
    const SaveMenu first = round % 6 == 5 ? SaveMenu::Load : SaveMenu::Save;
    const SaveMenu second = round % 6 == 2 ? SaveMenu::Load : SaveMenu::Save;
    const RoundOutcome outcome = players.Round(first, second);
    saved += outcome.saved;
    refused += outcome.saveRefused;
    loaded += outcome.loaded;
    if (outcome.problem.empty()) {
      ++sound;
      continue;
    }
    if (firstProblem.empty()) firstProblem = "round " + std::to_string(round) + ": " + outcome.problem;
    const auto says = [&](const char* text) { return outcome.problem.find(text) != std::string::npos; };
    (says("a save said") ? saveFailed
     : says("a load said") ? loadFailed
     : says("does not load") ? notLoading
                             : wrongGame)++;
  }
  std::cout << kRounds << " rounds: " << sound << " sound, " << saveFailed << " a save failed, "
            << loadFailed << " a load failed, " << notLoading << " the folder did not load, "
            << wrongGame << " another game or a mix; " << saved << " saves said SAVE OK, "
            << refused << " kept the old save, " << loaded << " loads\n";
  EXPECT_EQ(sound, kRounds) << firstProblem;
  // Each save waits for the other rather than giving up.
  EXPECT_EQ(refused, 0);
}

}  // namespace
}  // namespace kiravel::soak
