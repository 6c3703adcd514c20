#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <cmath>
#include <csignal>
#include <filesystem>
#include <iostream>
#include <random>
#include <stdexcept>
#include <string>

#include "platform/data_folder.h"
#include "testing/game_fixture.h"

namespace kiravel {
namespace {

// Game number g: every saved value, and the length of every list, follows
// from g, so a load that mixed files of two saves cannot look like one game.
void MakeGeneration(Fom& f, std::int32_t g) {
  const std::string tag = CStr(g);
  f.LstMati.ForEach([](ListBox& list) { list.Clear(); });
  f.LstYou.ForEach([](ListBox& list) { list.Clear(); });
  f.LstSigoto.ForEach([](ListBox& list) { list.Clear(); });
  const int towns = 2 + g % 7;
  for (int k = 0; k < towns; ++k) f.AddTown("街" + tag + "の" + CStr(k), static_cast<std::int16_t>(k % 3));
  for (int k = 0; k < g % 5; ++k) f.AddFairy(static_cast<std::int16_t>(k % 3));
  for (int k = 0; k < g % 4; ++k) {
    const std::string job[] = {"依頼" + tag, "1", CStr(g % 30000), "0", "1", "100"};
    for (int c = 0; c <= 5; ++c) f.LstSigoto[c].AddItem(job[c]);
  }
  f.Money = g;
  f.TxtName.Text = "G" + tag;
  f.MatiNow = static_cast<std::int16_t>(g % towns);
  f.TimSay.SetInterval((g % 4) * 100);
  f.StrVal = {static_cast<std::int16_t>(g % 1000), 1, 2, 3, static_cast<std::int16_t>(1 + g % 365)};
  f.IveCount = {static_cast<std::int16_t>(g % 7), 0, 0};
}

// Whether the loaded game is all of one generation.
::testing::AssertionResult IsOneGeneration(const Fom& f) {
  const std::int32_t g = f.Money;
  const int towns = 2 + g % 7;
  auto fail = [&](const char* what) {
    return ::testing::AssertionFailure() << what << " does not belong to game " << g;
  };
  if (f.TxtName.Text != "G" + CStr(g)) return fail("the name");
  if (f.LstMati[0].ListCount() != towns) return fail("the towns");
  if (f.LstMati[0].List(towns - 1).find("街" + CStr(g) + "の") == std::string::npos)
    return fail("the last town");
  if (f.LstYou[0].ListCount() != g % 5) return fail("the fairies");
  if (f.LstSigoto[0].ListCount() != g % 4) return fail("the jobs");
  if (g % 4 != 0 && f.LstSigoto[0].List(0) != "依頼" + CStr(g)) return fail("the first job");
  if (f.MatiNow != g % towns || f.TimSay.Interval() != (g % 4) * 100) return fail("the town");
  if (f.StrVal[4] != 1 + g % 365 || f.IveCount[0] != g % 7) return fail("the numbers");
  return ::testing::AssertionSuccess();
}

// Whether a save was cut short: its new files or its manifest are left.
bool CutShort(const std::string& folder) {
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    if (entry.path().extension() != kDataEnding) return true;
  }
  return false;
}

std::unique_ptr<Fom> OpenGame(ScriptedPlatform& platform, const std::string& folder) {
  auto fom = std::make_unique<Fom>(platform, folder);
  fom->Form_Load();
  fom->Form_Resize();
  return fom;
}

// The saving process: loads the game, then saves each next game for ever,
// writing one byte to `started` as each save begins.
[[noreturn]] void SaveForEver(const std::string& folder, int started) {
  ScriptedPlatform platform;
  std::unique_ptr<Fom> fom = OpenGame(platform, folder);
  if (!fom->LoadGame()) ::_exit(3);
  for (std::int32_t g = fom->Money + 1;; ++g) {
    MakeGeneration(*fom, g);
    platform.MessageBoxes.clear();
    if (::write(started, "s", 1) != 1) ::_exit(5);
    fom->SaveGame();
    if (!platform.Failures.empty()) ::_exit(4);
  }
}

// A saving process and the pipe on which it says when each save begins.
class Saver {
 public:
  explicit Saver(const std::string& folder) {
    int ends[2];
    if (::pipe(ends) != 0) throw std::runtime_error("no pipe");
    pid_ = ::fork();
    if (pid_ < 0) throw std::runtime_error("no fork");
    if (pid_ == 0) {
      ::close(ends[0]);
      SaveForEver(folder, ends[1]);
    }
    ::close(ends[1]);
    started_ = ends[0];
  }
  ~Saver() {
    if (pid_ > 0) Kill();
    ::close(started_);
  }
  Saver(const Saver&) = delete;
  Saver& operator=(const Saver&) = delete;

  // Blocks until the next save begins; false when the process ended instead.
  bool AwaitSave() {
    char byte = 0;
    return ::read(started_, &byte, 1) == 1;
  }
  // Kills the process and returns its wait status.
  int Kill() {
    ::kill(pid_, SIGKILL);
    int status = 0;
    ::waitpid(pid_, &status, 0);
    pid_ = 0;
    return status;
  }

 private:
  pid_t pid_ = 0;
  int started_ = -1;
};

// A save killed at any moment leaves the last complete save or the one being
// written, whole. The kills land all over the save, whatever the machine's
// speed: each waits a time drawn evenly on a log scale from a microsecond to
// a fifth of a second after the save begins, and the test goes on killing
// until enough kills have cut a save short and enough came after a finished
// one.
TEST(SaveCrash, KilledSavesLeaveTheOldOrTheNewGameNeverAMix) {
  testing::Game game;
  game.StartInTown(1);
  MakeGeneration(*game.fom, 1);
  game.fom->SaveGame();
  ASSERT_TRUE(game.platform.Failures.empty());

  constexpr int kWanted = 20;
  constexpr int kMostKills = 5000;
  std::mt19937 random(20261207);
  std::uniform_real_distribution<double> logDelay(0.0, std::log(200000.0));

  std::int32_t last = 1;
  int advanced = 0;
  int interrupted = 0;
  int kill = 0;
  for (; kill < kMostKills && (advanced < kWanted || interrupted < kWanted); ++kill) {
    // Every other kill lands in the first save the saver makes, the others
    // in its second, which begins only once the first is complete.
    Saver saver(game.data.Path());
    const int saves = 1 + kill % 2;
    for (int s = 0; s < saves; ++s)
      ASSERT_TRUE(saver.AwaitSave()) << "the saving process ended: " << saver.Kill();
    ::usleep(static_cast<useconds_t>(std::exp(logDelay(random))));
    const int status = saver.Kill();
    ASSERT_TRUE(WIFSIGNALED(status)) << "the saving process stopped by itself: " << status;
    interrupted += CutShort(game.data.Path() + TextFolderPath() + "save");

    ScriptedPlatform platform;
    std::unique_ptr<Fom> loaded = OpenGame(platform, game.data.Path());
    ASSERT_TRUE(loaded->LoadGame()) << "kill " << kill << ": " << platform.Failures.at(0);
    ASSERT_TRUE(IsOneGeneration(*loaded)) << "kill " << kill;
    ASSERT_GE(loaded->Money, last) << "an older game came back";
    advanced += loaded->Money > last;
    last = loaded->Money;
  }
  std::cout << kill << " kills: " << advanced << " came after a new save, " << interrupted
            << " cut one short\n";
  EXPECT_GE(advanced, kWanted) << "too few kills came after a finished save to tell anything";
  EXPECT_GE(interrupted, kWanted) << "too few kills landed in the middle of a save";
}

}  // namespace
}  // namespace kiravel
