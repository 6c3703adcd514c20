// kiravel-measure-levels: how often the courier bot brings its story line to
// its ending on each level, over many games; the figures behind the tuning
// of a data folder's deliveries, towns and monsters.
#include <getopt.h>

#include <charconv>
#include <iostream>
#include <string>
#include <string_view>

#include "testing/courier_bot.h"

namespace {

constexpr std::string_view kHelp =
    "usage: kiravel-measure-levels [--games N] [--data DIR] [--seed N]\n"
    "\n"
    "Plays N games (60 by default) on each level with the courier bot through\n"
    "kiravel-run, aiming at the three story lines in turn, and prints how they\n"
    "ended and by which day the won ones were won.\n"
    "\n"
    "  --games N   games a level\n"
    "  --data DIR  the data folder played (by default the built game's)\n"
    "  --seed N    the first game's seed (1 by default); the others follow it\n";

bool ReadNumber(const char* text, unsigned& number) {
  const std::string_view view(text);
  auto [end, error] = std::from_chars(view.data(), view.data() + view.size(), number);
  return error == std::errc() && end == view.data() + view.size();
}

}  // namespace

int main(int argc, char** argv) {
  using namespace kiravel::testing;
  PlayingField field{KIRAVEL_RUN_PATH, KIRAVEL_GAME_DIR};
  unsigned games = 60;
  unsigned seed = 1;
  const option options[] = {{"games", required_argument, nullptr, 'g'},
                            {"data", required_argument, nullptr, 'd'},
                            {"seed", required_argument, nullptr, 's'},
                            {"help", no_argument, nullptr, 'h'},
                            {nullptr, 0, nullptr, 0}};
  for (int flag; (flag = getopt_long(argc, argv, "", options, nullptr)) != -1;) {
    bool good = true;
    if (flag == 'g') good = ReadNumber(optarg, games) && games > 0;
    else if (flag == 'd') field.data = optarg;
    else if (flag == 's') good = ReadNumber(optarg, seed);
    else if (flag == 'h') {
      std::cout << kHelp;
      return 0;
    } else good = false;
    if (!good) {
      std::cerr << kHelp;
      return 2;
    }
  }
  if (optind != argc) {
    std::cerr << kHelp;
    return 2;
  }
  const int count = static_cast<int>(games);
  std::cout << "LV EASY: " << PlayMany(field, kEasy, count, seed).Report() << "\n";
  std::cout << "LV HARD: " << PlayMany(field, kHard, count, seed).Report() << "\n";
  return 0;
}
