// Whole games on the bundled data folder, played by the courier bot:
// proof that every story line can be brought to its ending within the year
// on the easy level, and that the hard level is a real contest.
#include <gtest/gtest.h>

#include <iostream>

#include "testing/courier_bot.h"

namespace kiravel::testing {
namespace {

const PlayingField kBundled{KIRAVEL_RUN_PATH, KIRAVEL_GAME_DIR};

// Each line must be winnable on the easy level: a line whose later scenes
// ask for more than a year's deliveries can bring would never end.
TEST(Playthrough, EveryStoryLineReachesItsEndingOnEasy) {
  for (int target = 0; target < 3; ++target) {
    Tally tally;
    bool bonusPage = false;
    for (unsigned seed = 1; seed <= 3; ++seed) {
      GameResult result = PlayOne(kBundled, kEasy, target, 100 * (target + 1) + seed, &bonusPage);
      tally.Add(result, target);
      if (result.ending == Ending::StoryLine) {
        EXPECT_TRUE(bonusPage) << "story line " << target << " ended without its bonus page";
      }
    }
    std::cout << "LV EASY, story line " << target << ": " << tally.Report() << "\n";
    EXPECT_GE(tally.wins, 2) << "story line " << target << ": " << tally.Report();
    EXPECT_TRUE(tally.troubles.empty()) << tally.troubles.front();
  }
}

// The hard level must stay winnable, and not be won every time.
TEST(Playthrough, HardLevelIsWinnableButNotCertain) {
  const Tally tally = PlayMany(kBundled, kHard, 20, 5000);
  std::cout << "LV HARD: " << tally.Report() << "\n";
  EXPECT_GE(tally.wins, 1) << tally.Report();
  EXPECT_LT(tally.wins, tally.games) << tally.Report();
  EXPECT_TRUE(tally.troubles.empty()) << tally.troubles.front();
}

}  // namespace
}  // namespace kiravel::testing
