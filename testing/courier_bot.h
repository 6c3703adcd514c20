// Whole games on a data folder, played by a courier bot through kiravel-run:
// the playthrough tests ask it whether every story line can be brought to its
// ending within the year, and bench/levels measures how often that happens.
#pragma once

#include <string>
#include <vector>

namespace kiravel::testing {

// What the bot plays on: the runner program and the data folder it reads.
struct PlayingField {
  std::string runner;
  std::string data;
};

constexpr int kEasy = 0;
constexpr int kHard = 1;

enum class Ending { StoryLine, OutOfDays, OutOfStamina, OtherLine, Stuck };

struct GameResult {
  Ending ending = Ending::Stuck;
  int line = -1;  // the story line whose ending was reached
  int day = 0;
  std::vector<std::string> troubles;  // refusals and errors: faults of the data or the bot
};

struct Tally {
  int games = 0, wins = 0, outOfDays = 0, outOfStamina = 0, other = 0;
  std::vector<std::string> troubles;
  std::vector<int> winningDays;

  void Add(const GameResult& result, int target);
  std::string Report() const;
};

// One game on the level, aiming at the story line `target`; `bonusPage` is
// told whether the game wrote a bonus page.
GameResult PlayOne(const PlayingField& field, int level, int target, unsigned seed,
                   bool* bonusPage = nullptr);
// `games` games from `firstSeed` on, aiming at the three story lines in turn.
Tally PlayMany(const PlayingField& field, int level, int games, unsigned firstSeed);

}  // namespace kiravel::testing
