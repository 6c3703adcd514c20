// Two players on one save folder: two kiravel-runs each at the tavern of a
// game of its own, saving and loading at the same moments. Whatever the
// order in which their saves and loads meet, a load finds a whole game, and
// it is one whose save said "SAVE OK" and was not followed by another.
#pragma once

#include <nlohmann/json.hpp>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "soak/runner_process.h"

namespace kiravel::soak {

enum class SaveMenu { Save, Load };

// How one round went, for the figures of a long run.
struct RoundOutcome {
  int saved = 0;        // saves that said "SAVE OK"
  int saveRefused = 0;  // saves that said the old save was kept
  int loaded = 0;       // loads that found a game
  std::string problem;  // a broken rule, or "" when every rule held
};

class TwoPlayers {
 public:
  // Starts both players on the program folder `app`, which they share; the
  // folder must hold no save yet.
  TwoPlayers(const std::string& runner, const std::filesystem::path& app, std::uint64_t seed);

  // Both players choose from the system menu at the same moment; then a
  // third kiravel-run loads the folder and must find the game the rules
  // allow. Each player then renames its courier, so that every save differs.
  RoundOutcome Round(SaveMenu first, SaveMenu second);

 private:
  struct Player {
    std::unique_ptr<RunnerProcess> runner;
    std::string name;
  };
  struct Reply {
    std::vector<std::string> messages;
    nlohmann::json game;
    std::string problem;
  };
  Reply Await(Player& player);
  RoundOutcome Verify(RoundOutcome outcome);

  std::string runner_;
  std::filesystem::path app_;
  Player players_[2];
  // The games a load may find now: empty before the first save.
  std::vector<nlohmann::json> allowed_;
  int round_ = 0;
};

// The saved part of a runner's dump: what the four save files hold.
nlohmann::json SavedGame(const nlohmann::json& dump);

}  // namespace kiravel::soak
