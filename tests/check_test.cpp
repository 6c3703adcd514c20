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
#include "platform/data_folder.h"
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
    data.WriteBytes(kMusicFile, Wave());
    data.WriteScript("opn", {">img ttl", "はじまり", "tugi"});
    for (const char* ending : {"badend_day", "badend_hp", "end"}) {
      data.WriteScript(ending, {"おわり", ">end"});
    }
    data.WriteText(TextFile("head"), {"<META charset=\"Shift_JIS\">"});
    data.WriteText(TextFile("foot"), {"</HTML>"});
    for (int line = 0; line < 3; ++line) WriteStoryLine(line);
  }

  void WriteStoryLine(int line) {
    const std::string key = std::to_string(line);
    data.WriteScript(key + "0", {">img " + key + "0", "-mの物語", ">html " + key + ",page" + key});
    data.WriteText(TextFolderPath() + "char" + key + kDataEnding, {"<P>-m</P>"});
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
  std::filesystem::remove(data.Path() + kMusicFile);
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
              shown + std::string(kMusicFile) + ": error: missing: the game would play no music\n" + shown +
                  TextFile("opn") + ":1: error: picture " + PictureFile("nosuch") + ": missing\n");
  }
}

// A picture cut short makes the PNG library complain on its own; only the
// checker's finding may reach the author.
TEST_F(CheckedFolder, BrokenPicturesLeaveStandardErrorQuiet) {
  std::filesystem::copy_file(KIRAVEL_GAME_DIR "/" + PictureFile("ttl"), data.Path() + PictureFile("ttl"),
                             std::filesystem::copy_options::overwrite_existing);
  data.WriteBytes(PictureFile("ttl"), data.Read(PictureFile("ttl")).substr(0, 200));
  ProgramRun run = RunCheck(data.Path(), "", "2>&1 >/dev/null");
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(Join(run.lines), "");
}

// Tools read the same findings as JSON: whole-file findings have no line.
TEST_F(CheckedFolder, JsonFormatListsEveryFinding) {
  std::filesystem::remove(data.Path() + kMusicFile);
  data.WriteScript("opn", {">img nosuch"});
  ProgramRun run = RunCheck("--format=json " + data.Path());
  EXPECT_EQ(run.status, 1);
  const std::string json = Join(run.lines);
  EXPECT_NE(json.find("\"file\": \"" + data.Path() + std::string(kMusicFile) + "\",\n        \"line\": null,\n"
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
  std::filesystem::remove(data.Path() + TextFile("opn"));
  std::filesystem::remove(data.Path() + PictureFile("mon2"));
  std::filesystem::remove(data.Path() + kMusicFile);
  ProgramRun run = Check();
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(Join(run.lines),
            std::string(kMusicFile) + ": error: missing: the game would play no music\n" +
            PictureFile("mon2") + ": error: missing: the monster of 水\n" +
            TextFile("opn") + ": error: missing: the opening scene of every new game\n");
}

// The checker asks for what the game opens by name, each file with its role.
TEST_F(CheckedFolder, EveryFileTheGameOpensByNameIsAskedFor) {
  std::set<std::string> expected;
  for (const auto& [folder, files] : {std::pair{TextFolderPath(), FixedTexts()}, std::pair{PictureFolderPath(), FixedPictures()}}) {
    for (const FixedFile& file : files) {
      const std::string path = folder + file.Name + kDataEnding;
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
  data.WriteBytes(TextFile("mati0"), "ok\r\n\x81\r\nlf only\nlf again\nno end");
  data.WriteBytes(TextFile("mati1"), "\xE3\x81\x82\xE3\x81\x82\r\n");  // ああ in UTF-8, also CP932
  ProgramRun run = Check();
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(Join(run.lines),
            TextFile("mati0") + ":2: error: not valid CP932 text\n" +
            TextFile("mati0") + ":3: error: line ended by LF alone, not CR LF (and 1 more lines)\n" +
            TextFile("mati0") + ":5: error: last line has no CR LF at its end\n" +
            TextFile("mati1") + ": error: written in UTF-8; the game reads CP932 (convert it with "
            "kiravel-textconv)\n");
}

TEST_F(CheckedFolder, ScriptCommandsThatWouldFailInPlayAreReported) {
  data.WriteBytes(PictureFile("broken"), "PNG? no");
  data.WriteScript("opn", {">img nosuch", ">img broken", ">img ../ttl", ">img", "--x", "--2",
                           "一", "二", ">ive", "tugi", "残り", "", "残り"});
  ProgramRun run = Check();
  EXPECT_EQ(run.status, 1);
  ASSERT_EQ(run.lines.size(), 6u) << Join(run.lines);
  EXPECT_EQ(run.lines[0], TextFile("opn") + ":1: error: picture " + PictureFile("nosuch") + ": missing");
  EXPECT_TRUE(run.lines[1].starts_with(TextFile("opn") + ":2: error: picture " + PictureFile("broken") + ": not a picture"));
  EXPECT_EQ(run.lines[2], TextFile("opn") + ":3: error: picture name \"../ttl\" is no safe file name");
  EXPECT_EQ(run.lines[3], TextFile("opn") + ":5: error: \"--\" needs a number of steps, not \"x\"");
  EXPECT_EQ(run.lines[4], TextFile("opn") + ":9: warning: \">ive\" is no command: the scene stops in "
                          "front of it and then shows it as text");
  EXPECT_EQ(run.lines[5], TextFile("opn") + ":11: error: never played: the scene has ended at line 10 with "
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
        Join(run.lines).find(TextFile("opn") + ":" + line + ": error: picture name") != std::string::npos;
    bool gameRefuses = false;
    for (const std::string& failure : game.platform.Failures) {
      gameRefuses = gameRefuses || failure.starts_with(TextFile("s") + " " + line + "行目：絵の名前");
    }
    EXPECT_EQ(checkerRefuses, gameRefuses) << Join(run.lines);
    EXPECT_EQ(gameRefuses, !IsSafeNamePart(names[i]));
  }
}

// A pipe, a loop of links and a name too long for the file system where the
// game's files belong: each is a finding of its own, and the check neither
// waits for a writer nor dies.
TEST_F(CheckedFolder, PipesLoopsAndOverlongNamesAreFindings) {
  for (const std::string& file : {TextFile("mati0"), std::string(kMusicFile)}) {
    std::filesystem::remove(data.Path() + file);
    ASSERT_EQ(::mkfifo((data.Path() + file).c_str(), 0644), 0);
  }
  std::filesystem::remove(data.Path() + PictureFile("ttl"));
  std::filesystem::create_symlink(DataFileName("ttl"), data.Path() + PictureFile("ttl"));
  const std::string longName(300, 'a');
  data.WriteScript("opn", {">img " + longName, "はじまり", "tugi"});
  ProgramRun run = Check();
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(Join(run.lines),
            std::string(kMusicFile) + ": error: not a regular file: the game would play no music\n" +
            PictureFile("ttl") + ": error: cannot be read (Too many levels of symbolic links): the title "
            "picture\n" +
            TextFile("mati0") + ": error: not a regular file\n" +
            TextFile("opn") + ":1: error: picture name \"" + longName + "\" is no safe file name\n");
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
  std::filesystem::remove(data.Path() + TextFile("char2"));
  std::filesystem::remove(data.Path() + PictureFile("29_2"));
  ProgramRun run = Check();
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(Join(run.lines),
            TextFile("00") + ":1: error: \">html\" needs two items, a story key and a page name: \"0\"\n" +
            TextFile("10") + ":1: error: bonus page name \"../up\" is no safe file name\n" +
            TextFile("20") + ":3: error: bonus page text " + TextFile("char2") + ": missing\n" +
            TextFile("20") + ":3: error: bonus picture " + PictureFile("29_2") + ": missing\n");
}

TEST_F(CheckedFolder, StoryLinesWithGapsOrWithoutAnEndingAreReported) {
  data.WriteScript("00", {"一", "tugi"});
  data.WriteScript("01", {"二", "tugi"});
  data.WriteScript("03", {"四", ">html 0,page0"});
  std::filesystem::remove(data.Path() + TextFile("10"));
  data.WriteScript("20", {"水", "tugi"});
  data.WriteScript("007", {"先頭にゼロ"});
  ProgramRun run = Check();
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(Join(run.lines),
            TextFile("007") + ": warning: never played: towns ask for story scenes by their count "
            "without leading zeros\n" +
            TextFile("02") + ": error: missing: story line 0 has " + TextFile("03") + " after it, and towns ask for this "
            "one first\n" +
            TextFile("10") + ": error: missing: towns of 草 open story line 1 with this scene\n" +
            TextFile("20") + ": error: story line 2 stops here without \">html\": towns would next ask for "
            "the missing " + TextFile("21") + "\n");
}

// The seventh scene of a line is offered only after six of the line before.
TEST_F(CheckedFolder, LateScenesBehindAShortPreviousLineAreNeverOffered) {
  data.WriteScript("00", {"火", "tugi"});
  for (int count = 1; count <= 6; ++count) data.WriteScript("0" + std::to_string(count), {"火", "tugi"});
  data.WriteScript("07", {"火", ">html 0,page0"});
  ProgramRun run = Check();
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(Join(run.lines),
            TextFile("06") + ": warning: never offered: towns of 水 offer it only after six scenes of "
            "story line 2, which ends sooner\n");
}

TEST_F(CheckedFolder, EndingsThatLetTheGameGoOnAreReported) {
  data.WriteScript("badend_hp", {"倒れた", "tugi"});
  data.WriteScript("end", {"おしまい", ">html 0,again"});
  ProgramRun run = Check();
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(Join(run.lines),
            TextFile("badend_hp") + ":2: error: this scene ends the game, but it returns to the town: end it "
            "with \">end\"\n" +
            TextFile("end") + ":2: error: \">html\" in the closing scene would start it over and over\n");
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
    data.WriteBytes(kMusicFile, bytes);
    ProgramRun run = Check();
    EXPECT_EQ(run.status, 1) << problem;
    EXPECT_EQ(Join(run.lines), std::string(kMusicFile) + ": error: not a wave the game can play (" + problem +
                                   "): the game would play no music\n");
  }
  data.WriteBytes(kMusicFile, testing::MonoWave(""));
  EXPECT_EQ(Join(Check().lines), std::string(kMusicFile) + ": error: it holds no samples: the game would play no music\n");
  std::filesystem::create_directory(data.Path() + "folder.wav");
  std::filesystem::remove(data.Path() + kMusicFile);
  std::filesystem::rename(data.Path() + "folder.wav", data.Path() + kMusicFile);
  EXPECT_EQ(Join(Check().lines), std::string(kMusicFile) + ": error: not a regular file: the game would play no music\n");
}

// Waves the game plays must not fail the check: 32-bit float,
// WAVE_FORMAT_EXTENSIBLE and µ-law, and a data chunk cut short, whose
// samples the game plays as far as they go.
TEST_F(CheckedFolder, MusicTheGamePlaysPasses) {
  for (const std::string& bytes : {testing::FloatWave(800), testing::ExtensibleWave(800),
                                   testing::MuLawWave(800), Wave().substr(0, 50)}) {
    data.WriteBytes(kMusicFile, bytes);
    ProgramRun run = Check();
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(Join(run.lines), "");
  }
}

TEST_F(CheckedFolder, PageHeadWithoutItsCharsetIsWarnedOf) {
  data.WriteText(TextFile("head"), {"<HTML>"});
  ProgramRun run = Check();
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(Join(run.lines),
            TextFile("head") + ": warning: declares no charset Shift_JIS: browsers may show the page "
            "garbled\n");
}

TEST_F(CheckedFolder, APictureFileLargerThanAnyPictureIsBroken) {
  data.WriteBytes(PictureFile("ttl"), testing::PngBytes(30, 20));
  std::filesystem::resize_file(data.Path() + PictureFile("ttl"), kLargestPictureFile + 1);
  ProgramRun run = Check();
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(Join(run.lines).find(PictureFile("ttl") + ": error: larger than any picture the game shows"),
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
  data.WriteText(TextFile("head"), {"<META CHARSET=\"SHIFT_JIS\">"});
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
