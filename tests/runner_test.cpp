// Scenario tests: the runner program plays scenarios on data folders made
// here, and its JSON lines are read back.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "core/conversions.h"
#include "kiravel/build_info.h"
#include "platform/data_folder.h"
#include "platform/picture_decoder.h"
#include "platform/utf8.h"
#include "scenario/command.h"
#include "testing/game_fixture.h"
#include "testing/json_reader.h"
#include "testing/wave.h"

namespace kiravel {
namespace {

using testing::Json;
using testing::JsonReader;

// ---- Running the runner ----

struct Outcome {
  int status = -1;
  std::vector<std::string> lines;
  std::string errors;

  // The lines of one kind ("dump", "refused", "msgbox", ...), in order.
  std::vector<Json> Of(std::string_view kind) const {
    std::vector<Json> found;
    for (const std::string& line : lines) {
      Json object = JsonReader(line).Read();
      if (object.Has(kind)) found.push_back(object);
    }
    return found;
  }
  Json Dump(std::size_t n) const { return Of("dump").at(n)["dump"]; }
  std::vector<std::string> Without(std::string_view kind) const {
    std::vector<std::string> kept;
    for (const std::string& line : lines) {
      if (!JsonReader(line).Read().Has(kind)) kept.push_back(line);
    }
    return kept;
  }
};

using testing::SilentWave;

std::string Quoted(const std::string& text) { return "'" + text + "'"; }

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// Draws that make MakeFairyName spell this name.
std::string NameDraws(std::string_view name) {
  const std::u32string kana = Utf8ToCodePoints(
      "あいうえおかきくけこさしすせそたちつてとなにぬねのはひふへほ"
      "まみむめもやゆよらりるれろわをん");
  std::string draws;
  for (char32_t c : Utf8ToCodePoints(name)) {
    char draw[32];
    std::snprintf(draw, sizeof draw, " %.6f", (static_cast<double>(kana.find(c)) + 0.5) / 46);
    draws += draw;
  }
  return draws;
}

// A new game's 25 draws: three towns with one fairy each, then the town the
// courier starts in.
std::string NewGameDraws() {
  return "rnd" + NameDraws("あいう") + " 0 0" + NameDraws("かきく") +  //
         NameDraws("さしす") + " 0.4 0.4" + NameDraws("たちつ") +      //
         NameDraws("なにぬ") + " 0.7 0.7" + NameDraws("はひふ") + " 0.1";
}

class Scenario : public ::testing::Test {
 protected:
  Scenario() {
    data.WriteStandardFiles();
    data.WriteScript("opn", {"はじまりの朝、-mは旅に出た。", "tugi"});
  }

  // Runs the runner with these arguments; the scenario comes on standard input.
  Outcome Start(const std::string& arguments, const std::string& scenario = "") {
    scratch.WriteBytes("in.txt", scenario);
    const std::string command =
        Quoted(KIRAVEL_RUN_PATH) + " " + arguments + " < " + Quoted(scratch.Path() + "in.txt") +
        " > " + Quoted(scratch.Path() + "out.txt") + " 2> " + Quoted(scratch.Path() + "err.txt");
    int raw = std::system(command.c_str());
    Outcome run;
    run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    std::istringstream out(ReadFile(scratch.Path() + "out.txt"));
    for (std::string line; std::getline(out, line);) run.lines.push_back(line);
    run.errors = ReadFile(scratch.Path() + "err.txt");
    return run;
  }
  Outcome Play(const std::string& scenario) {
    return Start("--app " + Quoted(data.Path()) + " --seed 1", scenario);
  }

  testing::DataFolder data;
  testing::DataFolder scratch;
};

const std::string kEasyGameInTown = NewGameDraws() + "\nclick ComStt(0)\nclick ComSkep\n";

TEST_F(Scenario, OnlyUsageErrorsAndUnreadableScenariosFailTheRun) {
  const std::string app = "--app " + Quoted(data.Path()) + " ";
  for (const std::string& arguments :
       {app + "--bogus", app + "--seed", app + "--seed 12x", std::string("--app /no/such/folder"),
        "--app " + std::string(300, 'a'),
        app + "a.txt b.txt", app + Quoted(scratch.Path() + "missing.txt"),
        app + Quoted(scratch.Path())}) {
    Outcome run = Start(arguments);
    EXPECT_EQ(run.status, 2) << arguments;
    EXPECT_TRUE(run.lines.empty()) << arguments;
    EXPECT_NE(run.errors.find("kiravel-run"), std::string::npos) << arguments;
  }
  // Refused commands are the scenario's answer, not a failure of the run; a
  // scenario named on the command line is read like standard input.
  scratch.WriteBytes("refused.txt", "fly away\r\n\n# a note\nclick Com(3)\ndump Money\n");
  Outcome run = Start(app + "--seed 1 " + Quoted(scratch.Path() + "refused.txt"));
  EXPECT_EQ(run.status, 0);
  ASSERT_EQ(run.Of("refused").size(), 2u);
  EXPECT_EQ(run.Of("refused")[0]["refused"].text, "fly away");
  EXPECT_EQ(run.Dump(0)["Money"].number, 0);
}

// --help and --version answer on standard output and play nothing; --data
// and $KIRAVEL_DATA name the data folder as --app does.
TEST_F(Scenario, HelpVersionAndTheDataFolderOptions) {
  Outcome help = Start("--help");
  EXPECT_EQ(help.status, 0);
  ASSERT_FALSE(help.lines.empty());
  EXPECT_EQ(help.lines[0], "usage: kiravel-run [--app DIR] [--seed N] [SCENARIO]");
  Outcome version = Start("--version");
  EXPECT_EQ(version.status, 0);
  EXPECT_EQ(version.lines, std::vector<std::string>{"kiravel-run " + std::string(kVersion)});
  const std::string dump = "dump AppPath\n";
  Outcome named = Start("--data " + Quoted(data.Path()) + " --seed 1", dump);
  ::setenv("KIRAVEL_DATA", data.Path().c_str(), 1);
  Outcome fromVariable = Start("--seed 1", dump);
  ::unsetenv("KIRAVEL_DATA");
  for (const Outcome& run : {named, fromVariable}) {
    EXPECT_EQ(run.status, 0) << run.errors;
    EXPECT_EQ(run.Dump(0)["AppPath"].text, data.Path());
  }
}

// A run without a seed says which one it drew, and the same seed replays it.
TEST_F(Scenario, ChosenSeedIsPrintedAndReplaysTheRun) {
  const std::string scenario = "click ComStt(0)\ndump LstMati(0) Money\n";
  Outcome first = Start("--app " + Quoted(data.Path()), scenario);
  EXPECT_EQ(first.status, 0);
  const std::size_t at = first.errors.find("kiravel-run: seed ");
  ASSERT_NE(at, std::string::npos) << first.errors;
  const std::string seed = first.errors.substr(at + 18, first.errors.find('\n', at) - at - 18);
  Outcome replay = Start("--app " + Quoted(data.Path()) + " --seed " + seed, scenario);
  EXPECT_EQ(replay.lines, first.lines);
  EXPECT_EQ(replay.errors.find("seed"), std::string::npos) << replay.errors;
}

// A recorded game starts with its seed: the line replays the run that the
// option does, whatever seed the runner started with. A shot needs a screen.
TEST_F(Scenario, SeedLineReplaysTheRunOfTheSeedOptionAndAShotIsRefused) {
  const std::string scenario = "click ComStt(0)\ndump LstMati(0) Money\n";
  Outcome byOption = Start("--app " + Quoted(data.Path()) + " --seed 77", scenario);
  Outcome byLine = Start("--app " + Quoted(data.Path()) + " --seed 1",
                         "seed 77\nshot town\n" + scenario);
  ASSERT_EQ(byLine.Of("refused").size(), 1u);
  EXPECT_EQ(byLine.Of("refused")[0]["refused"].text, "shot town");
  EXPECT_EQ(byLine.Without("refused"), byOption.lines);
  Outcome otherSeed = Start("--app " + Quoted(data.Path()) + " --seed 1", scenario);
  EXPECT_NE(otherSeed.lines, byOption.lines);
}

// The seed told on standard error replays the run: where the scenario seeds
// the draws itself, that is the scenario's seed, not the clock's.
TEST_F(Scenario, SeedToldIsTheScenariosOwnWhereItHasOne) {
  const std::string scenario = "seed 77\nclick ComStt(0)\ndump LstMati(0) Money\n";
  Outcome run = Start("--app " + Quoted(data.Path()), scenario);
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.errors, "kiravel-run: seed 77\n");
}

// A command after the window has closed cannot act: each one is told, as
// every other command that cannot act is; notes and blank lines are not.
TEST_F(Scenario, CommandsAfterCloseAreEachRefused) {
  Outcome run = Play("close\ndump Money\n\n# a note\nclick ComStt(0)\nfly away\n");
  EXPECT_EQ(run.status, 0);
  std::vector<Json> refused = run.Of("refused");
  ASSERT_EQ(refused.size(), 3u);
  EXPECT_EQ(refused[0]["refused"].text, "dump Money");
  EXPECT_EQ(refused[1]["refused"].text, "click ComStt(0)");
  EXPECT_EQ(refused[2]["refused"].text, "fly away");
  for (const Json& line : refused) EXPECT_EQ(line["why"].text, "the window is closed");
  EXPECT_TRUE(run.Of("dump").empty());
  EXPECT_EQ(run.lines.back(), R"({"refused":"fly away","why":"the window is closed"})");
}

// An author's preview: a fresh easy game plays the scene instead of the
// opening; names that are no scene's file are refused.
TEST_F(Scenario, SceneCommandPlaysTheSceneOnAFreshEasyGame) {
  data.WriteScript("03", {">img mati", "三つめの場面", "tugi"});
  Outcome run = Play("scene 03\ndump Lbl PicStt LvIve IveCount\nclick Lbl\ndump Com(4)\n"
                     "scene\nscene ../" + TextFolderPath() + "03\nscene " + DataFileName("03") + "\nscene nothing\ndump Com(4)\n");
  EXPECT_EQ(run.status, 0) << run.errors;
  const Json shown = run.Dump(0);
  EXPECT_NE(shown["Lbl"]["Caption"].text.find("三つめの場面"), std::string::npos);
  EXPECT_EQ(shown["Lbl"]["Caption"].text.find("はじまり"), std::string::npos);
  EXPECT_TRUE(shown["Lbl"]["Shown"].flag);
  EXPECT_FALSE(shown["PicStt"]["Visible"].flag);
  EXPECT_EQ(shown["LvIve"].number, 50);
  EXPECT_TRUE(run.Dump(1)["Com(4)"]["Shown"].flag);
  std::vector<std::string> refused;
  for (const Json& line : run.Of("refused")) refused.push_back(line["refused"].text);
  EXPECT_EQ(refused, (std::vector<std::string>{"scene", "scene ../" + TextFolderPath() + "03", "scene " + DataFileName("03")}));
  ASSERT_EQ(run.Of("error").size(), 1u);
  EXPECT_TRUE(run.Dump(2)["Com(4)"]["Shown"].flag);
}

// A pipe and a loop of links where the game's files belong, and a picture
// name too long for the file system: each is told as a file that cannot be
// read, and the play goes on to its end.
TEST_F(Scenario, HostileFilesAreToldAndThePlayGoesOn) {
  std::filesystem::remove(data.Path() + TextFile("opn"));
  ASSERT_EQ(::mkfifo((data.Path() + TextFile("opn")).c_str(), 0644), 0);
  std::filesystem::remove(data.Path() + PictureFile("mati"));
  std::filesystem::create_symlink(DataFileName("mati"), data.Path() + PictureFile("mati"));
  data.WriteScript("00", {">img " + std::string(300, 'a'), "一", "tugi"});
  Outcome run = Play(NewGameDraws() + "\nclick ComStt(0)\nclick Com(0)\nclick Lbl\nclose\n");
  EXPECT_EQ(run.status, 0) << run.errors;
  std::vector<std::string> errors;
  for (const Json& line : run.Of("error")) errors.push_back(line["error"].text);
  EXPECT_EQ(errors, (std::vector<std::string>{
                        "シナリオ「" + TextFile("opn") + "」を開けません。",
                        "絵「" + PictureFile("mati") + "」を読み込めません。",
                        TextFile("00") + " 1行目：絵の名前「" + std::string(300, 'a') + "」は使えません。"}));
}

// As in the window, a folder without the game's data is told after the
// opening, with the place that was searched; the failures it caused were
// each printed as they came.
TEST_F(Scenario, MissingDataIsToldAfterTheOpeningAsInTheWindow) {
  Outcome run = Start("--app " + Quoted(scratch.Path()) + " --seed 1", "dump Money\n");
  EXPECT_EQ(run.status, 0) << run.errors;
  std::vector<std::string> errors;
  for (const Json& line : run.Of("error")) errors.push_back(line["error"].text);
  ASSERT_EQ(errors.size(), 2u);
  EXPECT_NE(errors[0].find(PictureFile(kTitlePicture)), std::string::npos);
  EXPECT_EQ(errors[1].rfind("ゲームのデータが見つかりません。", 0), 0u);
  EXPECT_NE(errors[1].find(scratch.Path() + PictureFile(kTitlePicture)), std::string::npos);
  // The box comes before the scenario's first command.
  EXPECT_TRUE(run.lines.back().rfind(R"({"dump")", 0) == 0);
}

TEST_F(Scenario, CommandsAPersonCouldNotDoAreRefusedAndChangeNothing) {
  Outcome run = Play(
      "tick TimSay\nclick Com(3)\nclick Nope\nclick LstMati(0)\n" + kEasyGameInTown +
      "click ComSkep\nclick ComIrai\nselect LstMati(0) 3\nselect LstMati(0) -2\n"
      "select TxtName 0\ntype LstMati(0) x\ntick TimBtl\ntick Clock\nrnd 1\nrnd 0.5 x\n"
      "answer maybe\nwait -1\nresize tall\ndump Money Nope\nclick Com(3)\n"
      "menu menu_sis_c(0)\nmenu menu\nrnd 0.99\nclick Com(1)\ndump LblGame LstMati(0) PicBar\n");
  const std::vector<std::pair<std::string, std::string>> expected{
      {"tick TimSay", "TimSay has interval 0"},
      {"click Com(3)", "the start panel PicStt covers Com(3)"},
      {"click Nope", "no control"},
      {"click LstMati(0)", "no click handler"},
      {"click ComSkep", "ComSkep is hidden"},
      {"click ComIrai", "ComIrai lies in PicBar, which is hidden"},
      {"select LstMati(0) 3", "3 items"},
      {"select LstMati(0) -2", "3 items"},
      {"select TxtName 0", "no list box"},
      {"type LstMati(0) x", "no text box"},
      {"tick TimBtl", "TimBtl is disabled"},
      {"tick Clock", "no timer"},
      {"rnd 1", "[0, 1)"},
      {"rnd 0.5 x", "[0, 1)"},
      {"answer maybe", "ok, yes or no"},
      {"wait -1", "milliseconds"},
      {"resize tall", "twips"},
      {"dump Money Nope", "Nope"},
      {"menu menu_sis_c(0)", "menu_sis_c(0) lies in menu_sis, which is disabled"},
      {"menu menu", "no menu item"},
  };
  std::vector<Json> refused = run.Of("refused");
  ASSERT_EQ(refused.size(), expected.size());
  for (std::size_t i = 0; i < expected.size(); ++i) {
    EXPECT_EQ(refused[i]["refused"].text, expected[i].first);
    EXPECT_NE(refused[i]["why"].text.find(expected[i].second), std::string::npos)
        << refused[i]["why"].text;
  }
  // The refused "rnd 0.5 x" queued nothing: 0.5 would have found a fairy.
  Json dump = run.Dump(0);
  EXPECT_EQ(dump["LblGame"]["Caption"].text, "妖精はみつからない・・・");
  EXPECT_EQ(dump["LstMati(0)"]["ListIndex"].number, -1);
  EXPECT_FALSE(dump["PicBar"]["Shown"].flag);
  EXPECT_EQ(run.status, 0);
}

// The journey from あいう to なにぬ (two towns on) with a monster on its first
// day: the day clock stops for the battle and counts afresh once the flute
// has closed it.
TEST_F(Scenario, TimersTickInTimeOrderAndCountFromTheirRestart) {
  Outcome run = Play(kEasyGameInTown +
                     "select LstMati(0) 2\nclick Com(4)\n"
                     "rnd 0.5 0.1 0 0 0.5 0.5 0.5 0.5 0.5\nwait 2099\ndump TripDay StrVal TimBtl\n"
                     "wait 1\ndump StrVal LblGame\n"
                     "rnd 0.99 0 0 0.99\nclick ComBtl\nclick ComBtl\nwait 99\ndump TripDay\n"
                     "rnd 0 0.99\nwait 1\ndump TripDay\n"
                     "rnd 0\ntick TimDay 3\ndump TripDay MatiNow TimDay LblMati\n");
  // Day 1 at 100 ms meets the monster; it strikes at 1100 and 2100 ms.
  EXPECT_EQ(run.Dump(0)["TripDay"].number, 1);
  EXPECT_EQ(run.Dump(0)["StrVal"].items.size(), 5u);
  EXPECT_EQ(run.Dump(0)["StrVal"][0].number, 95);
  EXPECT_EQ(run.Dump(0)["StrVal"][3].number, 90);
  EXPECT_TRUE(run.Dump(0)["TimBtl"]["Enabled"].flag);
  EXPECT_EQ(run.Dump(1)["StrVal"][0].number, 90);
  EXPECT_EQ(run.Dump(1)["StrVal"][3].number, 80);
  EXPECT_EQ(run.Dump(1)["LblGame"]["Caption"].text, "魔物の攻撃！");
  // The second blow of the flute at 2100 ms restarts the day clock.
  EXPECT_EQ(run.Dump(2)["TripDay"].number, 1);
  EXPECT_EQ(run.Dump(3)["TripDay"].number, 2);
  // Arrival on the third day switches the clock off: the third tick is refused.
  Json arrived = run.Dump(4);
  EXPECT_EQ(arrived["TripDay"].number, 3);
  EXPECT_EQ(arrived["MatiNow"].number, 2);
  EXPECT_FALSE(arrived["TimDay"]["Enabled"].flag);
  EXPECT_EQ(arrived["LblMati"]["Caption"].text, "(水)　なにぬ");
  std::vector<Json> refused = run.Of("refused");
  ASSERT_EQ(refused.size(), 1u);
  EXPECT_EQ(refused[0]["why"].text, "TimDay is disabled (1 of 3 ticks delivered)");
}

TEST_F(Scenario, QueuedAnswersAndGameReportsComeOutInOrder) {
  std::remove((data.Path() + PictureFile("you")).c_str());
  Outcome run = Play(kEasyGameInTown +
                     "click Com(4)\nanswer yes\nclick LblGame\ndump PicStt\n"
                     "click ComStt(0)\nclick Pic\nclick Pic\nanswer ok\nclick Pic\ndump PicStt\n");
  // The music commands are the sound's own business.
  std::vector<std::string> lines = run.Without("mci");
  ASSERT_EQ(lines.size(), 14u);
  const std::string kTitle = R"({"picture":{"panel":"Pic","file":")" + PictureFile("ttl") + R"(","ok":true}})";
  const std::string kTown = R"({"picture":{"panel":"Pic","file":")" + PictureFile("mati") + R"(","ok":true}})";
  const char* const kAsked = R"({"msgbox":{"text":"初期化しますか？","buttons":"YesNo","answer":")";
  const std::vector<std::string> expected{
      kTitle,
      R"({"picture":{"panel":"PicBtlGrf","file":")" + PictureFile("ttl") + R"(","ok":true}})",
      kTown,  // the opening skipped
      kTown,  // "旅をする" without a town chosen
      R"({"picture":{"panel":"Pic","file":")" + PictureFile("you") + R"(","ok":false}})",
      R"({"msgbox":{"text":"絵「)" + PictureFile("you") + R"(」を読み込めません。","buttons":"OK","answer":"ok"}})",
      R"({"error":"絵「)" + PictureFile("you") + R"(」を読み込めません。"})",
      R"({"msgbox":{"text":"行く街を選んで下さい","buttons":"OK","answer":"ok"}})",
      std::string(kAsked) + "yes\"}}",
      lines[9],  // the start panel's dump
      kTown,     // the second opening, clicked through
      std::string(kAsked) + "no\"}}",
      std::string(kAsked) + "no\"}}",  // "ok" is no answer to a yes-or-no question
      lines[13],
  };
  EXPECT_EQ(lines, expected);
  EXPECT_TRUE(run.Dump(0)["PicStt"]["Shown"].flag);
  EXPECT_FALSE(run.Dump(1)["PicStt"]["Shown"].flag);
}

// The runner, the checker and the window share one picture decoder: a
// picture whose header is whole but whose pixels are cut short fails in all
// three alike.
TEST_F(Scenario, APictureCutShortFailsInTheRunnerAsInTheCheckerAndTheGame) {
  const std::string png = testing::PngBytes(60, 40);
  data.WriteBytes(PictureFile("mati"), png.substr(0, png.size() / 2));
  Outcome run = Play(kEasyGameInTown);
  std::vector<bool> answers;
  for (const Json& line : run.Of("picture")) {
    if (line["picture"]["file"].text == PictureFile("mati")) answers.push_back(line["picture"]["ok"].flag);
  }
  EXPECT_EQ(answers, std::vector<bool>{false});
  EXPECT_EQ(PictureReader().Load(data.Path() + PictureFile("mati")), nullptr);
  const std::string check = Quoted(KIRAVEL_CHECK_PATH) + " " + Quoted(data.Path()) + " > " +
                            Quoted(scratch.Path() + "check.txt");
  EXPECT_NE(std::system(check.c_str()), 0);
  EXPECT_NE(ReadFile(scratch.Path() + "check.txt")
                .find(PictureFile("mati") + ": error: not a picture the game can decode"),
            std::string::npos);
}

TEST_F(Scenario, WindowResizesPlaysItsMusicOnTheClockAndCloses) {
  data.WriteBytes(kMusicFile, SilentWave(100));
  Outcome run = Play(
      "resize 6000\ndump fom BaseFontSize SmallFontSize Com(1)\n"
      "resize 9000 20000 15000\ndump fom BaseFontSize SmallFontSize\nwait 150\nclose\ndump "
      "Money\n");
  Json small = run.Dump(0);
  EXPECT_EQ(small["fom"]["Width"].number, 8000);
  EXPECT_EQ(small["fom"]["Height"].number, 6000);
  EXPECT_EQ(small["fom"]["Left"].number, 3680);
  EXPECT_EQ(small["fom"]["Top"].number, 2760);
  EXPECT_EQ(small["BaseFontSize"].number, 9);
  EXPECT_EQ(small["SmallFontSize"].number, 7);
  EXPECT_EQ(small["Com(1)"]["Top"].number, 2.5);
  EXPECT_EQ(small["Com(1)"]["FontSize"].number, 9);
  Json large = run.Dump(1);
  EXPECT_EQ(large["fom"]["Width"].number, 12000);
  EXPECT_EQ(large["fom"]["Left"].number, 4000);
  EXPECT_EQ(large["fom"]["Top"].number, 3000);
  EXPECT_EQ(large["BaseFontSize"].number, 12);
  EXPECT_EQ(large["SmallFontSize"].number, 9);
  // The piece ends at 100 ms and the music timer starts it again; closing
  // the window closes the music, and nothing after "close" acts.
  std::vector<std::string> music;
  for (const Json& line : run.Of("mci")) {
    music.push_back(line["mci"].text + " " +
                    std::to_string(static_cast<int>(line["result"].number)));
  }
  EXPECT_EQ(music, (std::vector<std::string>{"close MIDI notify 263",
                                             "open \"" + data.Path() + std::string(kMusicFile) + "\" alias MIDI 0",
                                             "play MIDI notify 0", "seek MIDI to start 0",
                                             "play MIDI from 0 0", "close MIDI notify 0"}));
  EXPECT_EQ(run.Of("mci").back()["mci"].text, "close MIDI notify");
  EXPECT_EQ(run.Of("dump").size(), 2u);
  EXPECT_EQ(run.status, 0);
}

// A wait costs what happens in it: the music timer's ticks while the piece
// plays change nothing and are passed over, yet a journey's days and the
// music's restarts come out exactly as when the clock moves a millisecond at
// a time. The longest wait the runner takes ends at once when nothing happens.
TEST_F(Scenario, LongWaitsCostWhatHappensInThemWithTheSameOutput) {
  data.WriteBytes(kMusicFile, SilentWave(100));
  const std::string journey = kEasyGameInTown + "select LstMati(0) 2\nclick Com(4)\n";
  std::string step;
  for (int ms = 0; ms < 1250; ++ms) step += "wait 1\n";
  Outcome whole = Play(journey + "wait 1250\ndump\n");
  Outcome steps = Play(journey + step + "dump\n");
  EXPECT_EQ(whole.lines, steps.lines);
  EXPECT_GE(whole.Of("mci").size(), 2u + 2 * 12) << "twelve restarts of the music";

  std::filesystem::remove(data.Path() + kMusicFile);
  Outcome silent = Play("wait 1000000000000\ndump Money\n");
  EXPECT_EQ(silent.status, 0);
  EXPECT_EQ(silent.Of("dump").size(), 1u);
}

// A wave without samples would end as it starts, and the music timer would
// start it again at every tick: it is no music, refused once at the open.
TEST_F(Scenario, WaveWithoutSamplesIsRefusedOnceAndStaysSilent) {
  data.WriteBytes(kMusicFile, testing::MonoWave(""));
  Outcome run = Play("wait 5000\nclose\n");
  std::vector<std::string> music;
  for (const Json& line : run.Of("mci")) {
    music.push_back(line["mci"].text + " " +
                    std::to_string(static_cast<int>(line["result"].number)));
  }
  EXPECT_EQ(music, (std::vector<std::string>{"close MIDI notify 263",
                                             "open \"" + data.Path() + std::string(kMusicFile) + "\" alias MIDI 296",
                                             "play MIDI notify 263", "close MIDI notify 263"}));
}

TEST_F(Scenario, DumpGivesEveryControlAndVariableInValidJson) {
  Outcome run = Play(
      "type TxtName \"名前\\の人\"と長い名前\ndump TxtName IraiTbl TimDay menu_sis ShpStr(0) fom "
      "Money Money\ndump\n");
  Json named = run.Dump(0);
  // Quotes and backslashes survive; typing stops at eight characters.
  EXPECT_EQ(named["TxtName"]["Text"].text, "\"名前\\の人\"と");
  for (const Json& row : named["IraiTbl"].items) {
    ASSERT_EQ(row.items.size(), 6u);
    for (const Json& cell : row.items) EXPECT_EQ(cell.kind, Json::Kind::Null);
  }
  EXPECT_EQ(named["TimDay"]["Interval"].number, 100);
  EXPECT_FALSE(named["TimDay"]["Enabled"].flag);
  EXPECT_EQ(named["menu_sis"]["Caption"].text, "システム");
  EXPECT_EQ(named["ShpStr(0)"]["FillColor"].text, "#FF00FF");
  EXPECT_EQ(named["fom"]["Caption"].text, "Kiravel");
  EXPECT_EQ(named["fom"]["Width"].number, 11480);
  EXPECT_EQ(named.members.size(), 7u);  // Money once
  Json all = run.Dump(1);
  for (const char* name : {"fom",
                           "PicStt",
                           "ComStt(2)",
                           "Com(4)",
                           "ComSkep",
                           "TxtName",
                           "LblDay",
                           "LblMati",
                           "LblLstK(1)",
                           "LstYou(1)",
                           "LstMati(1)",
                           "LstSigoto(5)",
                           "PicStr",
                           "LblStr(4)",
                           "ShpStr(4)",
                           "E",
                           "Pic",
                           "Lbl",
                           "LblBak",
                           "LblGame",
                           "PicBar",
                           "ComIrai",
                           "ComHp",
                           "MenuCom",
                           "LstIrai",
                           "PicBtl",
                           "PicBtlGrf",
                           "TxtBtl",
                           "ComBtl",
                           "PicBtlStr",
                           "LblBtl(1)",
                           "ShpBtl(1)",
                           "TimBtl",
                           "TimSay",
                           "TimDay",
                           "BgmTim",
                           "menu",
                           "menu_tim",
                           "menu_tim_Click(3)",
                           "menu_sis",
                           "menu_sis_c(1)",
                           "menu_ver",
                           "AppPath",
                           "DataDir",
                           "FileNo",
                           "SayState",
                           "SayLine",
                           "SayBuf",
                           "MatiNow",
                           "MatiGo",
                           "TripDays",
                           "TripDay",
                           "Money",
                           "StrMax",
                           "StrVal",
                           "StrName",
                           "IraiTbl",
                           "CargoName",
                           "BtlAttr",
                           "BtlPow",
                           "BtlHp",
                           "BtlHpMax",
                           "IveCount",
                           "IveNo",
                           "LvMon",
                           "LvAtk",
                           "LvLuck",
                           "LvIve",
                           "LvYou",
                           "LvPen",
                           "LvBonus",
                           "LvRest",
                           "LvDay",
                           "MusicOn",
                           "BaseFontSize",
                           "SmallFontSize"}) {
    EXPECT_TRUE(all.Has(name)) << name;
  }
  EXPECT_EQ(all["DataDir"][1].text, data.Path() + TextFolderPath());
  EXPECT_EQ(all["PicStr"]["ScaleWidth"].number, 100);
}

// One easy game played through: the opening, a tavern, a journey with a
// battle, a delivery and a failed request, the forest, a rumour, a story
// event and the courier's collapse back to the start panel.
TEST_F(Scenario, WholeGamePlaysThroughToTheBadEnding) {
  data.WriteScript("00", {">img you", "森の奥で、-mは火の妖精の歌を聞いた。",
                          "歌は遠い街のことを語っていた。", "tugi"});
  data.WriteScript("badend_hp", {"-mは力尽きてしまった……", ">end"});
  data.WriteScript("mati1", {"北の森に火の妖精が住むという。", "やゆよという街があるらしい。"});
  const std::string forestAtFullPrice = "rnd 0 0.9999" + NameDraws("らりる") + "\nclick Com(1)\n";
  Outcome run =
      Play("type TxtName ユウ\n" + NewGameDraws() +
           "\nclick ComStt(0)\ndump Lbl ComSkep\nclick Lbl\n"
           "dump Money StrVal LstMati(0) LstYou(0) LblMati LblGame Com(0)\n"
           // The tavern of あいう on day 1.
           "rnd 0.5 0.3 0 0.9 0 0 0.1 0.4 0.9 0.5 0.7 0.5 0.2\nclick Com(3)\n"
           "select LstIrai 0\nclick ComIrai\nselect LstIrai 0\nclick ComIrai\nclick ComIrai\n"
           "dump Money LstIrai IraiTbl LstSigoto(0) LstSigoto(4) LstSigoto(5)\n"
           // To なにぬ, with a fire monster on the first day.
           "select LstMati(0) 2\nclick Com(4)\nrnd 0.5 0.1 0 0 0.5 0.5 0.5\nwait 1100\n"
           "dump LblGame PicBtl ShpBtl(1) BtlHp StrVal\n"
           "rnd 0.99 0 0 0.99\nclick ComBtl\ndump TxtBtl ComBtl LblGame\nclick ComBtl\n"
           "rnd 0.2 0.9 0\nwait 200\ndump MatiNow StrVal Money LblGame\n"
           // The tavern of なにぬ on day 4.
           "rnd 0.5 0 0 0 0 0 0 0 0 0 0 0 0\nclick Com(3)\ndump Money StrVal LblGame LstSigoto(0) "
           "LstIrai\n"
           // The forest, then a rumour.
           "rnd 0 0.5" +
           NameDraws("まみむ") +
           "\nclick Com(1)\ndump Money LblGame LstYou(0) LstYou(1)\n"
           "rnd 0.8 0.25" +
           NameDraws("やゆよ") +
           " 0 0.4\nclick Com(2)\ndump Money StrVal LblGame LstMati(0)\n"
           // Home to あいう, where the first fire story waits.
           "select LstMati(0) 0\nclick Com(4)\nrnd 0 0.99 0 0.99 0\nwait 300\ndump Com(0) StrVal\n"
           "click Com(0)\ndump Lbl IveCount\nclick Lbl\ndump Lbl\nclick Lbl\ndump Com(0) StrVal\n" +
           forestAtFullPrice + forestAtFullPrice + forestAtFullPrice +
           "dump Lbl ComSkep Money StrVal\nclick ComSkep\nclick Lbl\nclick Pic\ndump PicStt\n");
  ASSERT_EQ(run.status, 0);
  ASSERT_EQ(run.Of("dump").size(), 15u);

  EXPECT_EQ(run.Dump(0)["Lbl"]["Caption"].text, "\r\nはじまりの朝、ユウは旅に出た。▼");
  EXPECT_TRUE(run.Dump(0)["ComSkep"]["Shown"].flag);

  Json town = run.Dump(1);
  EXPECT_EQ(town["Money"].number, 10000);
  EXPECT_EQ(town["LstMati(0)"]["List"].Texts(),
            (std::vector<std::string>{"(火)　あいう", "(草)　さしす", "(水)　なにぬ"}));
  EXPECT_EQ(town["LstYou(0)"]["List"].Texts(),
            (std::vector<std::string>{"[火] かきく", "[草] たちつ", "[水] はひふ"}));
  EXPECT_EQ(town["LblMati"]["Caption"].text, "(火)　あいう");
  EXPECT_EQ(town["LblGame"]["Caption"].text, "ここは(火)　あいうの街・・・");
  EXPECT_TRUE(town["Com(0)"]["Shown"].flag);

  Json tavern = run.Dump(2);
  EXPECT_EQ(tavern["Money"].number, 9800);
  EXPECT_EQ(tavern["LstIrai"]["List"].Texts(),
            (std::vector<std::string>{"物[歩人]　先[(草)　さしす]　\\500　〆17日　↑草",
                                      "物[宝物]　先[(水)　なにぬ]　\\400　〆9日　↑水"}));
  EXPECT_EQ(tavern["IraiTbl"][0][0].number, 4);
  EXPECT_EQ(tavern["IraiTbl"][0][1].text, "1");
  EXPECT_EQ(tavern["IraiTbl"][1][2].number, 400);
  EXPECT_EQ(tavern["LstSigoto(0)"]["List"].Texts(),
            (std::vector<std::string>{"物[手紙]　先[(草)　さしす]　\\200　〆2日　↑草",
                                      "物[食料]　先[(水)　なにぬ]　\\200　〆3日　↑水"}));
  EXPECT_EQ(tavern["LstSigoto(4)"]["List"].Texts(), (std::vector<std::string>{"1", "2"}));
  EXPECT_EQ(tavern["LstSigoto(5)"]["List"].Texts(), (std::vector<std::string>{"2", "3"}));
  std::vector<Json> boxes = run.Of("msgbox");
  ASSERT_FALSE(boxes.empty());
  EXPECT_EQ(boxes[0]["msgbox"]["text"].text, "依頼を選んで下さい");

  Json battle = run.Dump(3);
  EXPECT_EQ(battle["LblGame"]["Caption"].text, "魔物の攻撃！");
  EXPECT_TRUE(battle["PicBtl"]["Shown"].flag);
  EXPECT_EQ(battle["ShpBtl(1)"]["Width"].number, 90.0900901);
  EXPECT_EQ(battle["BtlHp"].number, 111);
  EXPECT_EQ(battle["StrVal"][0].number, 95);
  EXPECT_EQ(battle["StrVal"][3].number, 90);
  EXPECT_EQ(run.Dump(4)["TxtBtl"]["Text"].text, "[草] たちつが来てくれた！50アタック！\r\n");
  EXPECT_EQ(run.Dump(4)["ComBtl"]["Caption"].text, "魔物を追っ払った！");
  EXPECT_EQ(run.Dump(4)["LblGame"]["Caption"].text, "笛を吹いた！");
  Json arrived = run.Dump(5);
  EXPECT_EQ(arrived["MatiNow"].number, 2);
  EXPECT_EQ(arrived["StrVal"][4].number, 4);
  EXPECT_EQ(arrived["Money"].number, 9765);
  EXPECT_EQ(arrived["LblGame"]["Caption"].text, "ここは(水)　なにぬの街・・・");

  Json settled = run.Dump(6);
  EXPECT_EQ(settled["Money"].number, 9565);
  EXPECT_EQ(settled["StrVal"][2].number, 116);
  EXPECT_EQ(settled["LblGame"]["Caption"].text,
            "酒場・・・・\r\n依頼解決ました！物[食料]　先[(水)　なにぬ]　\\200　〆3日　↑水"
            "\r\n依頼失敗しました！物[手紙]　先[(草)　さしす]　\\200　〆2日　↑草");
  EXPECT_TRUE(settled["LstSigoto(0)"]["List"].items.empty());
  EXPECT_EQ(settled["LstIrai"]["List"][3].text, "物[食料]　先[(火)　あいう]　\\200　〆6日　↑火");

  Json forest = run.Dump(7);
  EXPECT_EQ(forest["Money"].number, 8065);
  EXPECT_EQ(forest["LblGame"]["Caption"].text,
            "妖精と出会った！約束してくれた！1500だけ星粒をあげたよ");
  EXPECT_EQ(forest["LstYou(0)"]["List"][3].text, "[水] まみむ");
  EXPECT_EQ(forest["LstYou(1)"]["List"][3].text, "2");
  Json rumour = run.Dump(8);
  EXPECT_EQ(rumour["Money"].number, 7815);
  EXPECT_EQ(rumour["StrVal"][4].number, 6);
  EXPECT_EQ(rumour["LblGame"]["Caption"].text,
            "街の噂を聞きつけた！250星粒をあげたよ！\r\n\r\n北の森に火の妖精が住むという。"
            "\r\nやゆよという街があるらしい。\r\n\r\nやゆよに行けるようになった！");
  EXPECT_EQ(rumour["LstMati(0)"]["List"][3].text, "(火)　やゆよ");

  EXPECT_TRUE(run.Dump(9)["Com(0)"]["Shown"].flag);
  EXPECT_EQ(run.Dump(9)["StrVal"][4].number, 9);
  EXPECT_EQ(run.Dump(10)["Lbl"]["Caption"].text, "\r\n森の奥で、ユウは火の妖精の歌を聞いた。▽");
  EXPECT_EQ(run.Dump(10)["IveCount"][0].number, 1);
  EXPECT_EQ(run.Dump(11)["Lbl"]["Caption"].text,
            "\r\n森の奥で、ユウは火の妖精の歌を聞いた。\r\n歌は遠い街のことを語っていた。▼");
  EXPECT_FALSE(run.Dump(12)["Com(0)"]["Shown"].flag);  // no second fire story yet
  EXPECT_EQ(run.Dump(12)["StrVal"][4].number, 10);

  Json collapse = run.Dump(13);
  EXPECT_EQ(collapse["Lbl"]["Caption"].text, "\r\nユウは力尽きてしまった……▼");
  EXPECT_TRUE(collapse["ComSkep"]["Shown"].flag);
  EXPECT_FALSE(collapse["ComSkep"]["Enabled"].flag);
  EXPECT_EQ(collapse["Money"].number, 1817);
  EXPECT_EQ(collapse["StrVal"][3].number, 0);
  std::vector<Json> refused = run.Of("refused");
  ASSERT_EQ(refused.size(), 2u);
  EXPECT_EQ(refused[0]["why"].text, "ComSkep is disabled");
  EXPECT_EQ(refused[1]["why"].text, "the start panel PicStt covers Pic");
  EXPECT_TRUE(run.Dump(14)["PicStt"]["Shown"].flag);
}

}  // namespace
}  // namespace kiravel

namespace kiravel {
namespace {

// A scenario that costs nothing to write must not cost the runner without
// end: a line without an end is cut off with its number, and a tick count
// beyond the limit is refused before any tick is delivered.
TEST_F(Scenario, AnEndlessLineOrTickCountIsRefused) {
  Outcome run = Play("dump Money\n" + std::string(kiravel::scenario::kLongestLine + 1, 'x') +
                     "\ndump Money\n");
  EXPECT_EQ(run.status, 2);
  EXPECT_EQ(run.Of("dump").size(), 1u);
  EXPECT_NE(run.errors.find("scenario line 2 is longer than 1048576 bytes"), std::string::npos)
      << run.errors;
  run = Play("tick TimBtl 1000001\ntick TimBtl 1000000\n");
  std::vector<Json> refused = run.Of("refused");
  ASSERT_EQ(refused.size(), 2u);
  EXPECT_EQ(refused[0]["why"].text, "at most 1000000 ticks at once");
  EXPECT_EQ(refused[1]["why"].text, "TimBtl is disabled (0 of 1000000 ticks delivered)");
}

}  // namespace
}  // namespace kiravel
