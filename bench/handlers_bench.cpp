// How long the game takes to answer the player: every click handler and
// timer tick, one step of a scene, a resize, and a tavern visit with many
// accepted jobs. Each game runs on the scripted platform over a data folder
// of its own; the purse and the days, which a long run would use up, are put
// back between iterations.
#include <benchmark/benchmark.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "testing/game_fixture.h"

namespace kiravel {
namespace {

// Pictures kept in memory after their first load, so that what a handler
// does itself can be told from the file reads of the pictures it shows.
class BenchPlatform : public ScriptedPlatform {
 public:
  bool KeepPictures = false;

  std::shared_ptr<const Image> LoadPicture(const std::string& path) override {
    if (!KeepPictures) return ScriptedPlatform::LoadPicture(path);
    std::shared_ptr<const Image>& kept = pictures_[path];
    if (kept == nullptr) kept = ScriptedPlatform::LoadPicture(path);
    return kept;
  }

 private:
  std::map<std::string, std::shared_ptr<const Image>> pictures_;
};

// A game in the town view of あいう (火), with かきく (草) and さしす (水)
// known, the first fire story waiting and a long scene to step through.
struct BenchGame {
  explicit BenchGame(bool picturesFromFiles = true) {
    data.WriteStandardFiles();
    data.WriteScript("opn", {"はじまり", "tugi"});
    data.WriteScript("00", {"森の奥で火の妖精が歌っている。", "tugi"});
    std::vector<std::string> scene;
    for (int i = 0; i < 100000; ++i)
      scene.push_back("-mは街から街へ星粒を運んだ。" + std::to_string(i));
    data.WriteScript("long", scene);
    platform.KeepPictures = !picturesFromFiles;
    fom = std::make_unique<Fom>(platform, data.Path());
    f().Form_Load();
    f().Form_Resize();
    f().Form_Activate();
    f().ComStt_Click(0);
    f().ComSkep_Click();
    f().LstMati.ForEach([](ListBox& list) { list.Clear(); });
    f().AddTown("あいう", 0);
    f().AddTown("かきく", 1);
    f().AddTown("さしす", 2);
    f().MatiNow = 0;
    f().EnterTown();
  }

  Fom& f() { return *fom; }

  // Keeps a long run from ending the year or emptying the purse.
  void Refresh() {
    f().StrVal = {500, 500, 500, 500, 1};
    f().Money = 100000;
  }

  void StartLongScene(std::int32_t textSpeed) {
    f().TimSay.SetInterval(textSpeed);
    f().StartEvent("long");
  }

  // Accepted jobs to さしす, due far ahead, so that a visit to the tavern of
  // あいう keeps them; with deliveredEvery, every so many are for あいう itself.
  void AcceptJobs(int count, int deliveredEvery = 0) {
    f().LstSigoto.ForEach([](ListBox& list) { list.Clear(); });
    for (int j = 0; j < count; ++j) {
      bool deliveredHere = deliveredEvery > 0 && j % deliveredEvery == 0;
      f().LstSigoto[0].AddItem("物[手紙]　先[(水)　さしす]　\\300　〆300日　↑水");
      f().LstSigoto[1].AddItem("2");
      f().LstSigoto[2].AddItem("300");
      f().LstSigoto[3].AddItem("0");
      f().LstSigoto[4].AddItem(deliveredHere ? "0" : "2");
      f().LstSigoto[5].AddItem("300");
    }
  }

  // The typing timer waits for a click at the scene's end; start it anew.
  bool SceneOver() { return !f().Lbl.Visible || f().SayLine == "tugi"; }

  testing::DataFolder data;
  BenchPlatform platform;
  std::unique_ptr<Fom> fom;
};

const char* PictureSource(bool fromFiles) {
  return fromFiles ? "pictures from files" : "pictures in memory";
}

void BM_Command(benchmark::State& state) {
  static const char* const kNames[] = {"story event", "forest", "rumours", "tavern", "travel"};
  const bool picturesFromFiles = state.range(1) != 0;
  BenchGame game(picturesFromFiles);
  auto index = static_cast<std::int16_t>(state.range(0));
  game.f().LstMati[0].ListIndex = 1;
  for (auto _ : state) {
    game.Refresh();
    game.f().IveCount = {0, 0, 0};
    game.f().Com_Click(index);
  }
  state.SetLabel(std::string(kNames[index]) + ", " + PictureSource(picturesFromFiles));
}
BENCHMARK(BM_Command)->ArgsProduct({{0, 1, 2, 3, 4}, {1, 0}});

void BM_SkipScene(benchmark::State& state) {
  BenchGame game(state.range(0) != 0);
  for (auto _ : state) {
    state.PauseTiming();
    game.f().StartEvent("00");
    state.ResumeTiming();
    game.f().ComSkep_Click();
  }
  state.SetLabel(PictureSource(state.range(0) != 0));
}
BENCHMARK(BM_SkipScene)->Arg(1)->Arg(0);

void BM_Rest(benchmark::State& state) {
  BenchGame game;
  game.f().Com_Click(3);
  for (auto _ : state) {
    game.Refresh();
    game.f().ComHp_Click();
  }
}
BENCHMARK(BM_Rest);

void BM_AcceptRequest(benchmark::State& state) {
  BenchGame game;
  for (auto _ : state) {
    if (game.f().LstIrai.ListCount() == 0) {
      state.PauseTiming();
      game.AcceptJobs(0);
      game.f().VisitBar();
      state.ResumeTiming();
    }
    game.f().LstIrai.ListIndex = 0;
    game.f().ComIrai_Click();
  }
}
BENCHMARK(BM_AcceptRequest);

// A blow of the flute against a monster too tough to flee: all three fairies
// roll and strike.
void BM_Flute(benchmark::State& state) {
  BenchGame game;
  game.f().MonsterAppears();
  for (auto _ : state) {
    game.Refresh();
    game.f().BtlHp = 30000;
    game.f().BtlHpMax = 30000;
    game.f().ComBtl_Click();
  }
}
BENCHMARK(BM_Flute);

// A click on the scene's text, picture or message line shows the next line.
void BM_ClickSceneText(benchmark::State& state) {
  BenchGame game;
  void (Fom::*click)() = state.range(0) == 0   ? &Fom::Lbl_Click
                         : state.range(0) == 1 ? &Fom::Pic_Click
                                               : &Fom::LblGame_Click;
  game.StartLongScene(0);
  for (auto _ : state) {
    if (game.SceneOver()) {
      state.PauseTiming();
      game.StartLongScene(0);
      state.ResumeTiming();
    }
    (game.f().*click)();
  }
  state.SetLabel(state.range(0) == 0 ? "Lbl" : state.range(0) == 1 ? "Pic" : "LblGame");
}
BENCHMARK(BM_ClickSceneText)->DenseRange(0, 2);

// Outside a scene the picture asks whether to start over (answered No).
void BM_ClickPictureInTown(benchmark::State& state) {
  BenchGame game;
  for (auto _ : state) {
    game.f().Pic_Click();
    if (game.platform.MessageBoxes.size() >= 4096) {
      state.PauseTiming();
      game.platform.MessageBoxes.clear();
      state.ResumeTiming();
    }
  }
}
BENCHMARK(BM_ClickPictureInTown);

// A travel day without a monster.
void BM_DayTick(benchmark::State& state) {
  BenchGame game;
  game.f().MatiGo = 2;
  game.f().TripDays = 30000;
  game.f().TimDay.SetEnabled(true);
  for (auto _ : state) {
    game.Refresh();
    game.f().TripDay = 0;
    game.platform.QueueRnd(0.5);
    game.platform.QueueRnd(0.99);
    game.f().TimDay_Timer();
  }
}
BENCHMARK(BM_DayTick);

void BM_MonsterTick(benchmark::State& state) {
  BenchGame game;
  game.f().MonsterAppears();
  for (auto _ : state) {
    game.Refresh();
    game.f().TimBtl_Timer();
  }
}
BENCHMARK(BM_MonsterTick);

void BM_TextTick(benchmark::State& state) {
  BenchGame game;
  game.StartLongScene(100);
  for (auto _ : state) {
    if (game.SceneOver()) {
      state.PauseTiming();
      game.StartLongScene(100);
      state.ResumeTiming();
    }
    game.f().TimSay_Timer();
  }
}
BENCHMARK(BM_TextTick);

void BM_ScriptStep(benchmark::State& state) {
  BenchGame game;
  game.StartLongScene(100);
  for (auto _ : state) {
    if (game.SceneOver()) {
      state.PauseTiming();
      game.StartLongScene(100);
      state.ResumeTiming();
    }
    game.f().PlayScript();
  }
}
BENCHMARK(BM_ScriptStep);

// The layout, ending with the two title pictures.
void BM_Resize(benchmark::State& state) {
  BenchGame game(state.range(0) != 0);
  for (auto _ : state) game.f().Form_Resize();
  state.SetLabel(PictureSource(state.range(0) != 0));
}
BENCHMARK(BM_Resize)->Arg(1)->Arg(0);

// What a picture costs on its own: the file read and its header decoded.
void BM_TownPicture(benchmark::State& state) {
  BenchGame game;
  for (auto _ : state) game.f().ShowTtlPicture("mati");
}
BENCHMARK(BM_TownPicture);

// A job's place in the lists is its 16-bit number, so the game holds at most
// this many (the tavern accepts no more); larger lists would only measure
// jobs the game cannot address.
constexpr int kMostJobs = 32767;

// The tavern of あいう with N accepted jobs, none of them settled here.
void BM_TavernKeepsJobs(benchmark::State& state) {
  BenchGame game;
  game.AcceptJobs(static_cast<int>(state.range(0)));
  for (auto _ : state) game.f().VisitBar();
  state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_TavernKeepsJobs)->Arg(1000)->Arg(10000)->Arg(kMostJobs)->Complexity(benchmark::oN);

// The same with jobs delivered here: every one of them, taken from the end of
// the lists, or every second one, taken from between the jobs that stay.
void BM_TavernSettles(benchmark::State& state, int deliveredEvery) {
  BenchGame game;
  for (auto _ : state) {
    state.PauseTiming();
    game.AcceptJobs(static_cast<int>(state.range(0)), deliveredEvery);
    game.Refresh();
    state.ResumeTiming();
    game.f().VisitBar();
  }
  state.SetComplexityN(state.range(0));
}
BENCHMARK_CAPTURE(BM_TavernSettles, all, 1)->Arg(1000)->Arg(10000)->Arg(kMostJobs)->Complexity();
BENCHMARK_CAPTURE(BM_TavernSettles, half, 2)->Arg(1000)->Arg(10000)->Arg(kMostJobs)->Complexity();

}  // namespace
}  // namespace kiravel
