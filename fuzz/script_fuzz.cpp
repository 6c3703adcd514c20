// A story scene of any bytes, played to its end with random clicks, ticks,
// answers and text speeds: a scene may be nonsense, the game must not break
// on it, and it must come to an end.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <ostream>
#include <random>
#include <string>
#include <string_view>

#include "core/fom.h"
#include "platform/data_folder.h"
#include "platform/scripted_platform.h"
#include "scenario/output.h"
#include "scenario/runner.h"
#include "testing/game_fixture.h"

namespace {

// The program folder every scene plays in: the fixed pictures and rumours,
// and a closing scene for bonus pages to lead into.
const kiravel::testing::DataFolder& Folder() {
  static const kiravel::testing::DataFolder folder;
  static const bool filled = [] {
    folder.WriteStandardFiles();
    folder.WriteScript("end", {"おしまい", ">end"});
    return true;
  }();
  (void)filled;
  return folder;
}

// Bonus pages a scene wrote into the program folder go before the next one.
void ClearWrittenPages(const std::string& folder) {
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    if (entry.is_regular_file()) std::filesystem::remove(entry.path());
  }
}

// What a player may do while a scene is shown.
constexpr const char* kActions[] = {
    "click Lbl",   "click Lbl",        "click Pic",     "click LblGame",
    "tick TimSay", "tick TimSay 7",    "wait 250",      "answer yes",
    "answer no",   "click ComSkep",    "rnd 0.99 0.01", "menu menu_tim_Click(0)",
    "menu menu_tim_Click(3)",          "type TxtName -m-m",
};
// Enough clicks for a scene of every line of the longest input, and then
// some for its "--" lines.
constexpr int kClicksToTheEnd = 20000;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string scene(reinterpret_cast<const char*>(data), size);
  const kiravel::testing::DataFolder& folder = Folder();
  folder.WriteBytes(kiravel::TextFile("opn"), scene);

  // The player's actions follow from the scene, so a finding replays.
  std::minstd_rand random(static_cast<std::uint32_t>(std::hash<std::string>{}(scene)));
  kiravel::ScriptedPlatform platform(random());
  kiravel::Fom fom(platform, folder.Path());
  std::ostream discarded(nullptr);
  kiravel::run::Output output(discarded);
  output.Listen(platform, fom);
  kiravel::run::Runner runner(fom, platform, output);
  runner.Open();
  runner.Execute(random() % 2 == 0 ? "click ComStt(0)" : "click ComStt(1)");
  // The scene is over when no file of it is left open.
  auto playing = [&fom] { return fom.Files.OpenCount() != 0; };
  for (int step = 0; step < 64 && playing(); ++step) {
    runner.Execute(kActions[random() % std::size(kActions)]);
  }
  for (int click = 0; click < kClicksToTheEnd && playing(); ++click) {
    runner.Execute("click Lbl");
  }
  if (playing()) std::abort();  // the scene never ended
  ClearWrittenPages(folder.Path());
  return 0;
}
