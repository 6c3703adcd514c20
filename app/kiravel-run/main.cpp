// kiravel-run: plays the game without a window, from a scenario of commands,
// and prints what happens as JSON Lines.
#include <getopt.h>

#include <array>
#include <charconv>
#include <chrono>
#include <cstdint>
#include <exception>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <optional>
#include <string>
#include <string_view>

#include "core/fom.h"
#include "kiravel/build_info.h"
#include "platform/game_folders.h"
#include "platform/scripted_platform.h"
#include "scenario/command.h"
#include "scenario/output.h"
#include "scenario/runner.h"

namespace {

constexpr int kUsageError = 2;
// The game itself failed inside a command: not a scenario's fault.
constexpr int kGameFault = 1;

constexpr std::string_view kUsage = "usage: kiravel-run [--app DIR] [--seed N] [SCENARIO]\n";

constexpr std::string_view kHelp =
    "Plays Kiravel without a window: reads commands from SCENARIO (standard input\n"
    "when absent) and prints what happens as JSON Lines on standard output.\n"
    "\n"
    "  --app DIR, --data DIR  the game's data folder (also $KIRAVEL_DATA); by default\n"
    "                         the program's folder when it holds the data, otherwise\n"
    "                         the installed one\n"
    "  --seed N               seeds the random draws; without it a seed is chosen,\n"
    "                         and the one that decided the run (the scenario's\n"
    "                         own seed line where it has one) is printed on\n"
    "                         standard error at the end, to replay the run\n"
    "  --help                 shows this text\n"
    "  --version              shows the version\n"
    "\n"
    "The save and the bonus pages are written into the data folder when it is\n"
    "writable, otherwise into $XDG_DATA_HOME/kiravel/ (~/.local/share/kiravel/).\n"
    "\n"
    "Exit status: 0 when the scenario was read to its end, 1 when the game failed\n"
    "inside a command, 2 for a usage error or a scenario that cannot be read.\n";

struct Options {
  std::string data;
  std::optional<std::uint64_t> seed;
  std::string scenario;  // empty: standard input
};

std::optional<std::uint64_t> ParseSeed(std::string_view text) {
  std::uint64_t seed = 0;
  auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), seed);
  if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return seed;
}

enum class Request { Play, Help, Version };

constexpr int kHelpOption = 'h';
constexpr int kVersionOption = 'v';
constexpr int kDataOption = 'a';
constexpr int kSeedOption = 's';

constexpr std::array<option, 6> kOptions{{
    {"app", required_argument, nullptr, kDataOption},
    {"data", required_argument, nullptr, kDataOption},
    {"seed", required_argument, nullptr, kSeedOption},
    {"help", no_argument, nullptr, kHelpOption},
    {"version", no_argument, nullptr, kVersionOption},
    {nullptr, 0, nullptr, 0},
}};

// The option getopt_long stopped at, as the user typed it.
std::string Typed(char** argv) { return argv[optind - 1]; }

// Fills the options; on a usage error returns its text.
std::string ParseArguments(int argc, char** argv, Options& options, Request& request) {
  std::string data;
  opterr = 0;
  for (int option; (option = getopt_long(argc, argv, ":", kOptions.data(), nullptr)) != -1;) {
    switch (option) {
      case kDataOption: data = optarg; break;
      case kSeedOption:
        options.seed = ParseSeed(optarg);
        if (!options.seed) return std::string("not a seed: ") + optarg;
        break;
      case kHelpOption: request = Request::Help; return "";
      case kVersionOption: request = Request::Version; return "";
      case ':': return Typed(argv) + " needs a value";
      default:
        return "unknown option " + (optopt != 0 ? std::string("-") + char(optopt) : Typed(argv));
    }
  }
  if (optind < argc - 1) return "more than one scenario: " + std::string(argv[optind + 1]);
  if (optind < argc) options.scenario = argv[optind];
  std::error_code error;
  if (!data.empty() && !std::filesystem::is_directory(data, error)) return "no folder " + data;
  options.data = kiravel::FindDataFolder(data, kiravel::ProgramFolder());
  return "";
}

// A run without a seed draws one from the clock, to be told once the run is
// over: a scenario's own `seed` line decides the game instead.
std::uint64_t ChooseSeed(const Options& options) {
  if (options.seed) return *options.seed;
  return static_cast<std::uint64_t>(std::chrono::system_clock::now().time_since_epoch().count());
}

// Says which seed decided the run, so that it can be replayed; one given by
// the option is known already.
void TellSeed(const Options& options, std::uint64_t chosen, const kiravel::run::Runner& runner) {
  if (options.seed) return;
  std::cerr << "kiravel-run: seed " << runner.ScenarioSeed().value_or(chosen) << "\n";
}

// The player is told where a game played from a read-only folder keeps its
// save and pages.
std::string ChooseWritableFolder(const Options& options) {
  std::string folder = kiravel::WritableFolder(options.data, kiravel::PlayerFolder());
  if (folder != options.data) {
    std::cerr << "kiravel-run: " << options.data << " is read-only; the save and the bonus pages go to "
              << folder << "\n";
  }
  return folder;
}

int Play(const Options& options, std::istream& scenario) {
  const std::uint64_t seed = ChooseSeed(options);
  kiravel::ScriptedPlatform platform(seed);
  kiravel::Fom fom(platform, options.data, ChooseWritableFolder(options));
  kiravel::run::Output output(std::cout);
  output.Listen(platform, fom);
  kiravel::run::Runner runner(fom, platform, output);
  std::size_t lineNumber = 0;
  try {
    runner.Open();
    std::string line;
    for (kiravel::scenario::LineRead read; (read = kiravel::scenario::ReadScenarioLine(scenario, &line)) !=
                                           kiravel::scenario::LineRead::End;) {
      ++lineNumber;
      if (read == kiravel::scenario::LineRead::TooLong) {
        std::cout.flush();
        TellSeed(options, seed, runner);
        std::cerr << "kiravel-run: scenario line " << lineNumber << " is longer than "
                  << kiravel::scenario::kLongestLine << " bytes\n";
        return kUsageError;
      }
      runner.Execute(line);
    }
  } catch (const std::exception& fault) {
    std::cout.flush();
    TellSeed(options, seed, runner);
    std::cerr << "kiravel-run: the game failed at scenario line " << lineNumber << ": "
              << fault.what() << "\n";
    return kGameFault;
  }
  TellSeed(options, seed, runner);
  if (scenario.bad()) {
    std::cerr << "kiravel-run: the scenario could not be read past line " << lineNumber << "\n";
    return kUsageError;
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  Options options;
  Request request = Request::Play;
  if (std::string error = ParseArguments(argc, argv, options, request); !error.empty()) {
    std::cerr << "kiravel-run: " << error << "\n" << kUsage;
    return kUsageError;
  }
  if (request == Request::Help) {
    std::cout << kUsage << "\n" << kHelp;
    return 0;
  }
  if (request == Request::Version) {
    std::cout << "kiravel-run " << kiravel::kVersion << "\n";
    return 0;
  }
  if (options.scenario.empty()) return Play(options, std::cin);
  std::ifstream file;
  std::error_code error;
  if (!std::filesystem::is_directory(options.scenario, error)) file.open(options.scenario);
  if (!file.is_open()) {
    std::cerr << "kiravel-run: cannot read the scenario " << options.scenario << "\n";
    return kUsageError;
  }
  return Play(options, file);
}
