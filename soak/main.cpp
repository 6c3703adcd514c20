// kiravel-soak: plays random games through kiravel-run for a while and
// checks after every command that the game's state still holds together.
//   kiravel-soak [--seed N] [--seconds S] [--runner PATH] [--app DIR]
// Each game plays on a fresh copy of the program folder. On a broken rule
// it prints the seed, the game's scenario so far and how to replay it, and
// exits 1. The same seed plays the same games. Between games, two more
// players save and load at random in one shared save folder, and every
// load must find a whole game whose save said so last.
#include <unistd.h>
#include <sys/wait.h>

#include <charconv>
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <optional>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "platform/data_folder.h"
#include "soak/invariants.h"
#include "soak/moves.h"
#include "soak/runner_process.h"
#include "soak/two_players.h"

namespace {

namespace fs = std::filesystem;
using kiravel::soak::RunnerProcess;
using kiravel::soak::SaveMenu;
using kiravel::soak::TwoPlayers;

// Rounds of the second player's game between two of the soak's games.
constexpr int kTwoPlayerRounds = 10;
using nlohmann::json;

struct Options {
  std::uint64_t seed = static_cast<std::uint64_t>(
      std::chrono::system_clock::now().time_since_epoch().count());
  long seconds = 60;
  std::string runner = KIRAVEL_RUN_PATH;
  std::string app;  // the folder that holds the runner when empty
};

std::optional<std::uint64_t> Number(std::string_view text) {
  std::uint64_t value = 0;
  auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

// Fills the options; false on a usage error.
bool ParseArguments(int argc, char** argv, Options& options) {
  for (int i = 1; i + 1 < argc; i += 2) {
    const std::string_view flag = argv[i];
    const std::string value = argv[i + 1];
    std::optional<std::uint64_t> number = Number(value);
    if (flag == "--seed" && number) options.seed = *number;
    else if (flag == "--seconds" && number) options.seconds = static_cast<long>(*number);
    else if (flag == "--runner") options.runner = value;
    else if (flag == "--app") options.app = value;
    else return false;
  }
  if (argc % 2 == 0) return false;
  if (options.app.empty()) options.app = fs::path(options.runner).parent_path().string();
  return true;
}

// A program folder of the game's data, for one game to write its saves and
// pages into.
fs::path CopyProgramFolder(const fs::path& app, const fs::path& into) {
  fs::remove_all(into);
  fs::create_directories(into);
  for (const char* part : {kiravel::kPictureFolder, kiravel::kTextFolder, kiravel::kMusicFile}) {
    if (fs::exists(app / part)) fs::copy(app / part, into / part, fs::copy_options::recursive);
  }
  fs::remove_all(into / kiravel::kTextFolder / kiravel::kSaveFolder);
  return into;
}

// One game of random commands; its scenario is kept for the failure report.
class Game {
 public:
  Game(const Options& options, const fs::path& folder, std::uint64_t seed)
      : seed_(seed), folder_(folder),
        runner_(options.runner, {"--app", folder.string(), "--seed", std::to_string(seed)}) {}

  // Plays up to `commands` commands; false once a rule is broken.
  bool Play(std::mt19937_64& random, int commands, std::chrono::steady_clock::time_point until);
  // Ends the scenario; false when the runner did not end well.
  bool Close();
  void Report(std::ostream& out) const;
  long Commands() const { return static_cast<long>(scenario_.size()); }

 private:
  // Sends one command and a dump; checks every line printed for them.
  bool Step(const std::string& command);
  bool Fail(const std::string& problem) {
    problem_ = problem;
    return false;
  }

  std::uint64_t seed_;
  fs::path folder_;
  RunnerProcess runner_;
  std::vector<std::string> scenario_;
  json dump_;
  kiravel::soak::ShownWindow shown_;
  std::string problem_;
};

bool Game::Step(const std::string& command) {
  scenario_.push_back(command);
  if (!runner_.Send(command) || !runner_.Send("dump")) return Fail("the runner stopped reading");
  for (;;) {
    std::optional<std::string> line = runner_.ReadLine();
    if (!line) return Fail("the runner's output ended");
    json parsed;
    if (std::string problem = kiravel::soak::OutputLineProblem(*line, parsed); !problem.empty()) {
      return Fail(problem);
    }
    if (!parsed.contains("dump")) continue;
    dump_ = parsed["dump"];
    break;
  }
  std::vector<std::string> problems = kiravel::soak::StateProblems(dump_);
  if (!problems.empty()) return Fail(problems.front());
  return true;
}

bool Game::Play(std::mt19937_64& random, int commands, std::chrono::steady_clock::time_point until) {
  if (!Step("dump")) return false;
  scenario_.pop_back();  // the first look is not part of the game
  for (int n = 0; n < commands && std::chrono::steady_clock::now() < until; ++n) {
    if (!Step(kiravel::soak::ChooseCommand(dump_, shown_, random))) return false;
  }
  return true;
}

bool Game::Close() {
  scenario_.push_back("close");
  runner_.Send("close");
  std::vector<std::string> rest;
  const int status = runner_.Finish(rest);
  for (const std::string& line : rest) {
    json parsed;
    if (std::string problem = kiravel::soak::OutputLineProblem(line, parsed); !problem.empty()) {
      return Fail(problem);
    }
  }
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
    return Fail("the runner ended with wait status " + std::to_string(status));
  }
  return true;
}

void Game::Report(std::ostream& out) const {
  const fs::path scenario = fs::current_path() / ("soak-" + std::to_string(seed_) + ".txt");
  std::ofstream file(scenario, std::ios::binary);
  for (const std::string& line : scenario_) file << line << "\n";
  out << "kiravel-soak: " << problem_ << "\n"
      << "after " << scenario_.size() << " commands of the game with runner seed " << seed_ << ":\n";
  for (const std::string& line : scenario_) out << "  " << line << "\n";
  out << "replay: kiravel-run --app " << folder_.string() << " --seed " << seed_ << " "
      << scenario.string() << "\n(the folder as the game began: a copy of the program folder"
      << " without " + kiravel::TextFolderPath() + "save)\n";
}

}  // namespace

int main(int argc, char** argv) {
  Options options;
  if (!ParseArguments(argc, argv, options)) {
    std::cerr << "usage: kiravel-soak [--seed N] [--seconds S] [--runner PATH] [--app DIR]\n";
    return 2;
  }
  std::cout << "kiravel-soak: seed " << options.seed << ", " << options.seconds << " s\n";
  std::mt19937_64 random(options.seed);
  const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(options.seconds);
  const fs::path folder = fs::temp_directory_path() / ("kiravel-soak-" + std::to_string(::getpid()));
  long games = 0;
  long commands = 0;
  // Beside the games, two players share one save folder for the whole run,
  // saving and loading at random at the same moments.
  const fs::path shared = folder.string() + "-shared";
  TwoPlayers players(options.runner, CopyProgramFolder(options.app, shared), random());
  long rounds = 0;
  auto menu = [&random] { return random() % 2 == 0 ? SaveMenu::Save : SaveMenu::Load; };
  while (std::chrono::steady_clock::now() < until) {
    const std::uint64_t seed = random();
    const int length = std::uniform_int_distribution<int>(50, 1500)(random);
    Game game(options, CopyProgramFolder(options.app, folder), seed);
    if (!game.Play(random, length, until) || !game.Close()) {
      game.Report(std::cerr);
      return 1;
    }
    ++games;
    commands += game.Commands();
    for (int r = 0; r < kTwoPlayerRounds; ++r, ++rounds) {
      const SaveMenu first = menu();
      const std::string problem = players.Round(first, menu()).problem;
      if (problem.empty()) continue;
      std::cerr << "kiravel-soak: two players on one save folder, round " << rounds + 1 << ": "
                << problem << "\n(the folder: " << shared.string() << ")\n";
      return 1;
    }
  }
  fs::remove_all(folder);
  fs::remove_all(shared);
  std::cout << "kiravel-soak: " << games << " games, " << commands << " commands, " << rounds
            << " rounds of two players on one save folder, every rule held\n";
  return 0;
}
