// kiravel-run: plays the game without a window, from a scenario of commands,
// and prints what happens as JSON Lines.
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

#include "app/kiravel-run/output.h"
#include "app/kiravel-run/runner.h"
#include "core/fom.h"
#include "platform/scripted_platform.h"

namespace {

constexpr int kUsageError = 2;
// The game itself failed inside a command: not a scenario's fault.
constexpr int kGameFault = 1;

constexpr std::string_view kUsage = "usage: kiravel-run [--app DIR] [--seed N] [SCENARIO]\n";

struct Options {
  std::string app;
  std::uint64_t seed = 0;
  std::string scenario;  // empty: standard input
};

// The folder that holds this program, ending in "/".
std::string ProgramFolder() {
  std::error_code error;
  std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", error);
  if (error) return "./";
  return exe.parent_path().string() + "/";
}

std::optional<std::uint64_t> ParseSeed(std::string_view text) {
  std::uint64_t seed = 0;
  auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), seed);
  if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return seed;
}

// Fills the options; on a usage error returns its text.
std::string ParseArguments(int argc, char** argv, Options& options) {
  options.app = ProgramFolder();
  options.seed =
      static_cast<std::uint64_t>(std::chrono::system_clock::now().time_since_epoch().count());
  bool haveScenario = false;
  for (int i = 1; i < argc; ++i) {
    std::string_view arg = argv[i];
    bool takesValue = arg == "--app" || arg == "--seed";
    if (takesValue && i + 1 >= argc) return std::string(arg) + " needs a value";
    if (arg == "--app") {
      options.app = argv[++i];
      if (!std::filesystem::is_directory(options.app)) return "no folder " + options.app;
      // The game names its files from the program folder: make it whole.
      options.app = std::filesystem::absolute(options.app).lexically_normal().string();
    } else if (arg == "--seed") {
      std::optional<std::uint64_t> seed = ParseSeed(argv[++i]);
      if (!seed) return std::string("not a seed: ") + argv[i];
      options.seed = *seed;
    } else if (arg.size() > 1 && arg.front() == '-') {
      return "unknown option " + std::string(arg);
    } else if (haveScenario) {
      return "more than one scenario: " + std::string(arg);
    } else {
      options.scenario = arg;
      haveScenario = true;
    }
  }
  return "";
}

int Play(const Options& options, std::istream& scenario) {
  kiravel::ScriptedPlatform platform(options.seed);
  kiravel::Fom fom(platform, options.app);
  kiravel::run::Output output(std::cout);
  output.Listen(platform, fom);
  kiravel::run::Runner runner(fom, platform, output);
  std::size_t lineNumber = 0;
  try {
    runner.Open();
    for (std::string line; std::getline(scenario, line);) {
      ++lineNumber;
      if (!runner.Execute(line)) break;
    }
  } catch (const std::exception& fault) {
    std::cout.flush();
    std::cerr << "kiravel-run: the game failed at scenario line " << lineNumber << ": "
              << fault.what() << "\n";
    return kGameFault;
  }
  if (scenario.bad()) {
    std::cerr << "kiravel-run: the scenario could not be read past line " << lineNumber << "\n";
    return kUsageError;
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  Options options;
  if (std::string error = ParseArguments(argc, argv, options); !error.empty()) {
    std::cerr << "kiravel-run: " << error << "\n" << kUsage;
    return kUsageError;
  }
  if (options.scenario.empty()) return Play(options, std::cin);
  std::ifstream file;
  if (!std::filesystem::is_directory(options.scenario)) file.open(options.scenario);
  if (!file.is_open()) {
    std::cerr << "kiravel-run: cannot read the scenario " << options.scenario << "\n";
    return kUsageError;
  }
  return Play(options, file);
}
