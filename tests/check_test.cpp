// The data checker, run as a data author runs it: on the bundled data folder,
// on a small complete folder, and on that folder with one fault put in.
#include <gtest/gtest.h>
#include <locale.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "events/fixed_files.h"
#include "platform/picture_decoder.h"
#include "events/folder_names.h"
#include "testing/game_fixture.h"
#include "testing/wave.h"
#include "testing/program_run.h"

namespace kiravel {
namespace {

using testing::ProgramRun;
using testing::RunProgram;

// Runs the checker in the folder `in` when one is given; the lines read are
// what `streams` sends to the pipe (its standard output by default).
ProgramRun RunCheck(const std::string& arguments, const std::string& in = "",
                    const std::string& streams = "2>/dev/null") {
  return RunProgram((in.empty() ? "" : "cd '" + in + "' && ") + std::string(KIRAVEL_CHECK_PATH) +
                    " " + arguments + " " + streams);
}

std::string Join(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) text += line + "\n";
  return text;
}

// A wave header and a short silence: format tag 1 is PCM.
std::string Wave(unsigned formatTag = 1, bool withData = true) {
  return testing::MonoWave(std::string(16, '\0'), formatTag, withData);
}

// Everything a game needs, one scene a story line, each line ending in its
// bonus page.
class CheckedFolder : public ::testing::Test {
 protected:
  void SetUp() override {
    data.WriteStandardFiles();
    data.WriteBytes("bgm.wav", Wave());
    data.WriteScript("opn", {">img ttl", "はじまり", "tugi"});
    for (const char* ending : {"badend_day", "badend_hp", "end"}) {
      data.WriteScript(ending, {"おわり", ">end"});
    }
    data.WriteText("txt/head.dat", {"<META charset=\"Shift_JIS\">"});
    data.WriteText("txt/foot.dat", {"</HTML>"});
    for (int line = 0; line < 3; ++line) WriteStoryLine(line);
  }

  void WriteStoryLine(int line) {
    const std::string key = std::to_string(line);
    data.WriteScript(key + "0", {">img " + key + "0", "-mの物語", ">html " + key + ",page" + key});
    data.WriteText("txt/char" + key + ".dat", {"<P>-m</P>"});
    for (int k = 0; k <= 8; ++k) data.WritePicture(key + std::to_string(k));
    data.WritePicture(key + "9_1");
    data.WritePicture(key + "9_2");
  }

  // The findings with the folder they are named from taken off, as the
  // files are named inside the folder.
  ProgramRun Check() {
    ProgramRun run = RunCheck(data.Path());
    for (std::string& line : run.lines) {
      if (line.starts_with(data.Path())) line.erase(0, data.Path().size());
    }
    return run;
  }

  testing::DataFolder data;
};

TEST(CheckBundledData, TheGamesOwnFolderComesOutClean) {
  ProgramRun run = RunCheck(KIRAVEL_GAME_DIR);
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(Join(run.lines), "");
}

// Without a folder the checker checks the data beside it, as the game plays it.
TEST(CheckUsage, ExtraArgumentsUnknownFormatsAndNoFolderAreUsageErrors) {
  EXPECT_EQ(RunCheck("").status, 0);
  EXPECT_EQ(RunCheck("a b").status, 2);
  EXPECT_EQ(RunCheck("/no/such/folder").status, 2);
  EXPECT_EQ(RunCheck("--format=xml " + std::string(KIRAVEL_GAME_DIR)).status, 2);
  EXPECT_EQ(RunCheck("--bogus").status, 2);
  ProgramRun help = RunCheck("--help");
  EXPECT_EQ(help.status, 0);
  EXPECT_NE(Join(help.lines).find("Exit status"), std::string::npos);
}

// Editors jump to "file:line:" only when the file is named as the user named
// the folder, with or without its slash and however relative.
TEST_F(CheckedFolder, FindingsNameFilesFromTheFolderAsTyped) {
  std::filesystem::remove(data.Path() + "bgm.wav");
  data.WriteScript("opn", {">img nosuch"});
  const std::filesystem::path folder = std::filesystem::path(data.Path()).parent_path();
  const std::string parent = folder.parent_path().string();
  const std::string name = folder.filename().string();
  for (const std::string& typed : {name, "./" + name + "/"}) {
    SCOPED_TRACE(typed);
    const std::string shown = typed.ends_with('/') ? typed : typed + "/";
    ProgramRun run = RunCheck(typed, parent);
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(Join(run.lines),
              shown + "bgm.wav: error: missing: the game would play no music\n" + shown +
                  "txt/opn.dat:1: error: picture img/nosuch.dat: missing\n");
  }
}

// A picture cut short makes the PNG library complain on its own; only the
// checker's finding may reach the author.
TEST_F(CheckedFolder, BrokenPicturesLeaveStandardErrorQuiet) {
  std::filesystem::copy_file(KIRAVEL_GAME_DIR "/img/ttl.dat", data.Path() + "img/ttl.dat",
                             std::filesystem::copy_options::overwrite_existing);
  data.WriteBytes("img/ttl.dat", data.Read("img/ttl.dat").substr(0, 200));
  ProgramRun run = RunCheck(data.Path(), "", "2>&1 >/dev/null");
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(Join(run.lines), "");
}

// Tools read the same findings as JSON: whole-file findings have no line.
TEST_F(CheckedFolder, JsonFormatListsEveryFinding) {
  std::filesystem::remove(data.Path() + "bgm.wav");
  data.WriteScript("opn", {">img nosuch"});
  ProgramRun run = RunCheck("--format=json " + data.Path());
  EXPECT_EQ(run.status, 1);
  const std::string json = Join(run.lines);
  EXPECT_NE(json.find("\"file\": \"" + data.Path() + "bgm.wav\",\n        \"line\": null,\n"
                      "        \"message\": \"missing: the game would play no music\",\n"
                      "        \"severity\": \"error\""),
            std::string::npos)
      << json;
  EXPECT_NE(json.find("\"line\": 1,"), std::string::npos) << json;
}

// A complete folder must raise nothing, or authors learn to ignore the tool.
TEST_F(CheckedFolder, CompleteFolderRaisesNothing) {
  ProgramRun run = Check();
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(Join(run.lines), "");
}

TEST_F(CheckedFolder, MissingFixedFilesAreNamed) {
  std::filesystem::remove(data.Path() + "txt/opn.dat");
  std::filesystem::remove(data.Path() + "img/mon2.dat");
  std::filesystem::remove(data.Path() + "bgm.wav");
  ProgramRun run = Check();
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(Join(run.lines),
            "bgm.wav: error: missing: the game would play no music\n"
            "img/mon2.dat: error: missing: the monster of 水\n"
            "txt/opn.dat: error: missing: the opening scene of every new game\n");
}

// The checker asks for what the game opens by name, each file with its role.
TEST_F(CheckedFolder, EveryFileTheGameOpensByNameIsAskedFor) {
  std::set<std::string> expected;
  for (const auto& [folder, files] : {std::pair{"txt/", FixedTexts()}, std::pair{"img/", FixedPictures()}}) {
    for (const FixedFile& file : files) {
      const std::string path = folder + file.Name + ".dat";
      ASSERT_TRUE(std::filesystem::remove(data.Path() + path)) << path;
      expected.insert(path + ": error: missing: " + file.Role);
    }
  }
  ProgramRun run = Check();
  EXPECT_EQ(run.status, 1);
  std::set<std::string> named;
  for (const std::string& line : run.lines) {
    if (expected.count(line) != 0) named.insert(line);
  }
  EXPECT_EQ(named, expected);
}

TEST_F(CheckedFolder, TextNotInTheGamesEncodingOrLineEndsIsReported) {
  data.WriteBytes("txt/mati0.dat", "ok\r\n\x81\r\nlf only\nlf again\nno end");
  data.WriteBytes("txt/mati1.dat", "\xE3\x81\x82\xE3\x81\x82\r\n");  // ああ in UTF-8, also CP932
  ProgramRun run = Check();
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(Join(run.lines),
            "txt/mati0.dat:2: error: not valid CP932 text\n"
            "txt/mati0.dat:3: error: line ended by LF alone, not CR LF (and 1 more lines)\n"
            "txt/mati0.dat:5: error: last line has no CR LF at its end\n"
            "txt/mati1.dat: error: written in UTF-8; the game reads CP932 (convert it with "
            "kiravel-textconv)\n");
}

TEST_F(CheckedFolder, ScriptCommandsThatWouldFailInPlayAreReported) {
  data.WriteBytes("img/broken.dat", "PNG? no");
  data.WriteScript("opn", {">img nosuch", ">img broken", ">img ../ttl", ">img", "--x", "--2",
                           "一", "二", ">ive", "tugi", "残り", "", "残り"});
  ProgramRun run = Check();
  EXPECT_EQ(run.status, 1);
  ASSERT_EQ(run.lines.size(), 6u) << Join(run.lines);
  EXPECT_EQ(run.lines[0], "txt/opn.dat:1: error: picture img/nosuch.dat: missing");
  EXPECT_TRUE(run.lines[1].starts_with("txt/opn.dat:2: error: picture img/broken.dat: not a picture"));
  EXPECT_EQ(run.lines[2], "txt/opn.dat:3: error: picture name \"../ttl\" is no safe file name");
  EXPECT_EQ(run.lines[3], "txt/opn.dat:5: error: \"--\" needs a number of steps, not \"x\"");
  EXPECT_EQ(run.lines[4], "txt/opn.dat:9: warning: \">ive\" is no command: the scene stops in "
                          "front of it and then shows it as text");
  EXPECT_EQ(run.lines[5], "txt/opn.dat:11: error: never played: the scene has ended at line 10 with "
                          "\"tugi\" (and 1 more lines)");
}

// The checker and the game judge a picture name by one rule: a name the
// checker passes loads in play, and one it refuses is refused in play too.
TEST_F(CheckedFolder, GameAndCheckerAgreeOnWhichPictureNamesAreSafe) {
  const std::vector<std::string> names = {"plain", "a:b", "a*b", "a\x01" "b", "a\x7f" "b", "a b",
                                          "a..b", std::string(kLongestNamePart + 1, 'a')};
  std::vector<std::string> script;
  for (const std::string& name : names) {
    data.WritePicture(name);
    script.push_back(">img " + name);
  }
  script.insert(script.end(), {"はじまり", "tugi"});
  data.WriteScript("opn", script);
  const ProgramRun run = Check();

  testing::Game game;
  game.data.WriteScript("s", script);
  for (const std::string& name : names) game.data.WritePicture(name);
  game.fom->StartEvent("s");
  for (std::size_t i = 0; i < names.size(); ++i) {
    SCOPED_TRACE(::testing::PrintToString(names[i]));
    const std::string line = std::to_string(i + 1);
    const bool checkerRefuses =
        Join(run.lines).find("txt/opn.dat:" + line + ": error: picture name") != std::string::npos;
    bool gameRefuses = false;
    for (const std::string& failure : game.platform.Failures) {
      gameRefuses = gameRefuses || failure.starts_with("txt/s.dat " + line + "行目：絵の名前");
    }
    EXPECT_EQ(checkerRefuses, gameRefuses) << Join(run.lines);
    EXPECT_EQ(gameRefuses, !IsSafeNamePart(names[i]));
  }
}

// A pipe, a loop of links and a name too long for the file system where the
// game's files belong: each is a finding of its own, and the check neither
// waits for a writer nor dies.
TEST_F(CheckedFolder, PipesLoopsAndOverlongNamesAreFindings) {
  for (const char* file : {"txt/mati0.dat", "bgm.wav"}) {
    std::filesystem::remove(data.Path() + file);
    ASSERT_EQ(::mkfifo((data.Path() + file).c_str(), 0644), 0);
  }
  std::filesystem::remove(data.Path() + "img/ttl.dat");
  std::filesystem::create_symlink("ttl.dat", data.Path() + "img/ttl.dat");
  const std::string longName(300, 'a');
  data.WriteScript("opn", {">img " + longName, "はじまり", "tugi"});
  ProgramRun run = Check();
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(Join(run.lines),
            "bgm.wav: error: not a regular file: the game would play no music\n"
            "img/ttl.dat: error: cannot be read (Too many levels of symbolic links): the title "
            "picture\n"
            "txt/mati0.dat: error: not a regular file\n"
            "txt/opn.dat:1: error: picture name \"" + longName + "\" is no safe file name\n");
}

// A warning alone leaves the folder playable.
TEST_F(CheckedFolder, WarningsAloneKeepTheExitStatusClean) {
  data.WriteScript("opn", {"一", ">ive"});
  ProgramRun run = Check();
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.lines.size(), 1u);
}

TEST_F(CheckedFolder, BonusPageArgumentsAndTheirPiecesAreChecked) {
  data.WriteScript("00", {">html 0"});
  data.WriteScript("10", {">html 1,../up"});
  std::filesystem::remove(data.Path() + "txt/char2.dat");
  std::filesystem::remove(data.Path() + "img/29_2.dat");
  ProgramRun run = Check();
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(Join(run.lines),
            "txt/00.dat:1: error: \">html\" needs two items, a story key and a page name: \"0\"\n"
            "txt/10.dat:1: error: bonus page name \"../up\" is no safe file name\n"
            "txt/20.dat:3: error: bonus page text txt/char2.dat: missing\n"
            "txt/20.dat:3: error: bonus picture img/29_2.dat: missing\n");
}

TEST_F(CheckedFolder, StoryLinesWithGapsOrWithoutAnEndingAreReported) {
  data.WriteScript("00", {"一", "tugi"});
  data.WriteScript("01", {"二", "tugi"});
  data.WriteScript("03", {"四", ">html 0,page0"});
  std::filesystem::remove(data.Path() + "txt/10.dat");
  data.WriteScript("20", {"水", "tugi"});
  data.WriteScript("007", {"先頭にゼロ"});
  ProgramRun run = Check();
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(Join(run.lines),
            "txt/007.dat: warning: never played: towns ask for story scenes by their count "
            "without leading zeros\n"
            "txt/02.dat: error: missing: story line 0 has txt/03.dat after it, and towns ask for this "
            "one first\n"
            "txt/10.dat: error: missing: towns of 草 open story line 1 with this scene\n"
            "txt/20.dat: error: story line 2 stops here without \">html\": towns would next ask for "
            "the missing txt/21.dat\n");
}

// The seventh scene of a line is offered only after six of the line before.
TEST_F(CheckedFolder, LateScenesBehindAShortPreviousLineAreNeverOffered) {
  data.WriteScript("00", {"火", "tugi"});
  for (int count = 1; count <= 6; ++count) data.WriteScript("0" + std::to_string(count), {"火", "tugi"});
  data.WriteScript("07", {"火", ">html 0,page0"});
  ProgramRun run = Check();
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(Join(run.lines),
            "txt/06.dat: warning: never offered: towns of 水 offer it only after six scenes of "
            "story line 2, which ends sooner\n");
}

TEST_F(CheckedFolder, EndingsThatLetTheGameGoOnAreReported) {
  data.WriteScript("badend_hp", {"倒れた", "tugi"});
  data.WriteScript("end", {"おしまい", ">html 0,again"});
  ProgramRun run = Check();
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(Join(run.lines),
            "txt/badend_hp.dat:2: error: this scene ends the game, but it returns to the town: end it "
            "with \">end\"\n"
            "txt/end.dat:2: error: \">html\" in the closing scene would start it over and over\n");
}

// The checker asks the loader the game plays with: it reports what the game
// cannot play, in the loader's words, and nothing the game can.
TEST_F(CheckedFolder, MusicThatTheGameCannotPlayIsReported) {
  const std::pair<std::string, std::string> cases[] = {
      {"not a wave", "Could not find RIFF or WAVE identifiers (not a Waveform file)"},
      {Wave(3), "16-bit IEEE floating-point format not supported"},
      {Wave(1, false), "Missing data chunk in WAVE file"},
      {testing::Claiming(Wave(), "fmt ", 0xFFFFFFF0u), "a chunk claims more bytes than the file holds"},
  };
  for (const auto& [bytes, problem] : cases) {
    data.WriteBytes("bgm.wav", bytes);
    ProgramRun run = Check();
    EXPECT_EQ(run.status, 1) << problem;
    EXPECT_EQ(Join(run.lines), "bgm.wav: error: not a wave the game can play (" + problem +
                                   "): the game would play no music\n");
  }
  data.WriteBytes("bgm.wav", testing::MonoWave(""));
  EXPECT_EQ(Join(Check().lines), "bgm.wav: error: it holds no samples: the game would play no music\n");
  std::filesystem::create_directory(data.Path() + "folder.wav");
  std::filesystem::remove(data.Path() + "bgm.wav");
  std::filesystem::rename(data.Path() + "folder.wav", data.Path() + "bgm.wav");
  EXPECT_EQ(Join(Check().lines), "bgm.wav: error: not a regular file: the game would play no music\n");
}

// Waves the game plays must not fail the check: 32-bit float,
// WAVE_FORMAT_EXTENSIBLE and µ-law, and a data chunk cut short, whose
// samples the game plays as far as they go.
TEST_F(CheckedFolder, MusicTheGamePlaysPasses) {
  for (const std::string& bytes : {testing::FloatWave(800), testing::ExtensibleWave(800),
                                   testing::MuLawWave(800), Wave().substr(0, 50)}) {
    data.WriteBytes("bgm.wav", bytes);
    ProgramRun run = Check();
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(Join(run.lines), "");
  }
}

TEST_F(CheckedFolder, PageHeadWithoutItsCharsetIsWarnedOf) {
  data.WriteText("txt/head.dat", {"<HTML>"});
  ProgramRun run = Check();
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(Join(run.lines),
            "txt/head.dat: warning: declares no charset Shift_JIS: browsers may show the page "
            "garbled\n");
}

TEST_F(CheckedFolder, APictureFileLargerThanAnyPictureIsBroken) {
  data.WriteBytes("img/ttl.dat", testing::PngBytes(30, 20));
  std::filesystem::resize_file(data.Path() + "img/ttl.dat", kLargestPictureFile + 1);
  ProgramRun run = Check();
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(Join(run.lines).find("img/ttl.dat: error: larger than any picture the game shows"),
            std::string::npos)
      << Join(run.lines);
}

// A folder named in CP932 bytes, as an archive made on Japanese Windows
// unpacks: the checker checks the folder itself, not one of a changed name.
TEST_F(CheckedFolder, AFolderNameThatIsNotUtf8IsKeptAsItsBytes) {
  testing::DataFolder parent;
  const std::string name = "\x83\x4c\x83\x89";  // "キラ" in CP932
  std::filesystem::rename(data.Path(), parent.Path() + name);
  ProgramRun run = RunCheck("'" + parent.Path() + name + "'");
  std::filesystem::rename(parent.Path() + name, data.Path());
  EXPECT_EQ(run.status, 0) << Join(run.lines);
}

// Under a Turkish locale "I" lowers to a dotless i: a check that lowered with
// the player's locale would miss the head's own "Shift_JIS".
TEST_F(CheckedFolder, TheCharsetIsFoundUnderATurkishLocale) {
  const locale_t turkish = ::newlocale(LC_ALL_MASK, "tr_TR.UTF-8", nullptr);
  ASSERT_NE(turkish, locale_t{}) << "the Turkish locale is made by tools/build.sh";
  ::freelocale(turkish);
  data.WriteText("txt/head.dat", {"<META CHARSET=\"SHIFT_JIS\">"});
  const char* before = std::getenv("LC_ALL");
  const std::string kept = before != nullptr ? before : "";
  ::setenv("LC_ALL", "tr_TR.UTF-8", 1);
  ProgramRun run = Check();
  before != nullptr ? ::setenv("LC_ALL", kept.c_str(), 1) : ::unsetenv("LC_ALL");
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(Join(run.lines), "");
}

}  // namespace
}  // namespace kiravel
