// Saving and loading a long game: n towns, n fairies and n accepted jobs,
// from a hundred up to ten thousand of each. A save includes putting its
// files on the disk (fsync), so its time depends on the disk as well.
#include <benchmark/benchmark.h>

#include <string>

#include "testing/game_fixture.h"

namespace kiravel {
namespace {

struct LongGame {
  explicit LongGame(int n) {
    game.StartInTown(1);
    Fom& f = *game.fom;
    for (int k = 3; k < n; ++k) f.AddTown("まち" + std::to_string(k), static_cast<std::int16_t>(k % 3));
    for (int k = 3; k < n; ++k) f.AddFairy(static_cast<std::int16_t>(k % 3));
    for (int k = 0; k < n; ++k) {
      const std::string job[] = {"物[手紙]　先[(草)　まち" + std::to_string(k) + "]　\\300　〆25日　↑草",
                                 "1", "300", std::to_string(k), std::to_string((k + 1) % n), "25"};
      for (int c = 0; c <= 5; ++c) f.LstSigoto[c].AddItem(job[c]);
    }
    f.SaveGame();
  }
  testing::Game game;
};

void BM_SaveGame(benchmark::State& state) {
  LongGame game(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    game.game.fom->SaveGame();
    game.game.platform.MessageBoxes.clear();
  }
  if (!game.game.platform.Failures.empty()) state.SkipWithError("the save failed");
  state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_SaveGame)
    ->RangeMultiplier(10)
    ->Range(100, 10000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oN);

void BM_LoadGame(benchmark::State& state) {
  LongGame game(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    if (!game.game.fom->LoadGame()) state.SkipWithError("the load failed");
    game.game.platform.MessageBoxes.clear();
  }
  state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_LoadGame)
    ->RangeMultiplier(10)
    ->Range(100, 10000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oN);

}  // namespace
}  // namespace kiravel
