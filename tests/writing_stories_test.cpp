// The authors' guide, in both its languages, held to the game: its table of
// script commands is the game's own, and every example in it is a file of a
// data folder that passes kiravel-check and plays, in kiravel-run, exactly
// the pages the guide says the player sees. A guide that drifts from the
// game fails here, not in an author's hands.
//
// In the guide a block fenced as ```kiravel and a file's place below the data
// folder is that file, ```kiravel-screen and the scene's file is what the player sees of
// that scene (its pages, each ending in "▼", the courier named ミンヤ), and
// ```kiravel-check DIR is what kiravel-check DIR prints for the folder.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "events/fixed_files.h"
#include "events/script_format.h"
#include "platform/data_folder.h"
#include "testing/game_fixture.h"
#include "testing/json_reader.h"
#include "testing/program_run.h"

namespace kiravel {
namespace {

using testing::ProgramRun;
using testing::RunProgram;

namespace fs = std::filesystem;
using testing::Json;
using testing::JsonReader;

constexpr char kPageMark[] = "▼";

struct Guide {
  const char* file;
  const char* keywordHeading;  // the first column of the command table
};

const Guide kGuides[] = {{"writing-stories.md", "Keyword"}, {"writing-stories.ja.md", "キーワード"}};

std::vector<std::string> ReadLines(const fs::path& path) {
  std::ifstream in(path);
  std::vector<std::string> lines;
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

struct Block {
  std::string kind;  // "kiravel", "kiravel-screen" or "kiravel-check"
  std::string path;  // below the data folder; for the checker, the folder as typed
  std::vector<std::string> lines;
};

// The guide's fenced blocks that name a file of the data folder.
std::vector<Block> FencedBlocks(const std::vector<std::string>& guide) {
  std::vector<Block> blocks;
  for (std::size_t i = 0; i < guide.size(); ++i) {
    if (!guide[i].starts_with("```")) continue;
    std::istringstream info(guide[i].substr(3));
    Block block;
    info >> block.kind >> block.path;
    for (++i; i < guide.size() && !guide[i].starts_with("```"); ++i) block.lines.push_back(guide[i]);
    if (block.kind.starts_with("kiravel")) blocks.push_back(block);
  }
  return blocks;
}

// The first column of the table whose heading row begins with `heading`.
std::vector<std::string> TableKeywords(const std::vector<std::string>& guide, const std::string& heading) {
  std::vector<std::string> keywords;
  std::size_t row = 0;
  while (row < guide.size() && !guide[row].starts_with("| " + heading + " |")) ++row;
  for (row += 2; row < guide.size() && guide[row].starts_with("| `"); ++row) {
    const std::size_t end = guide[row].find("` |");
    keywords.push_back(guide[row].substr(3, end - 3));
  }
  return keywords;
}

std::string SceneName(const std::string& path) { return fs::path(path).stem().string(); }

bool IsStoryScene(const std::string& name) {
  return name.size() >= 2 && name[0] >= '0' && name[0] <= '2' &&
         name.find_first_not_of("0123456789") == std::string::npos;
}

// Rumours and the pieces of the bonus page are texts, not scenes.
bool IsScene(const std::string& name) {
  if (name == kPageHead || name == kPageFoot || name.starts_with(CharacterPiece(""))) return false;
  for (int k = 0; k < kRumourFiles; ++k) {
    if (name == RumourFile(k)) return false;
  }
  return true;
}

// The installed story with the guide's files written over it. A story line
// the guide gives scenes of is the guide's alone.
class GuideFolder {
 public:
  explicit GuideFolder(const std::vector<Block>& blocks) {
    const fs::path game(KIRAVEL_GAME_DIR);
    fs::copy(game / kPictureFolder, data_.Path() + kPictureFolder,
             fs::copy_options::recursive | fs::copy_options::overwrite_existing);
    fs::copy_file(game / kMusicFile, data_.Path() + kMusicFile, fs::copy_options::overwrite_existing);
    for (const fs::directory_entry& entry : fs::directory_iterator(game / kTextFolder)) {
      const std::string name = SceneName(entry.path().string());
      if (entry.is_regular_file() && !RetoldLine(blocks, name)) {
        fs::copy_file(entry.path(), data_.Path() + TextFolderPath() + entry.path().filename().string(),
                      fs::copy_options::overwrite_existing);
      }
    }
    for (const Block& block : blocks) {
      if (block.kind == "kiravel") data_.WriteText(block.path, block.lines);
    }
  }

  const std::string& Path() const { return data_.Path(); }

  // What the checker prints, run beside the folder and given its name.
  std::vector<std::string> Check(const std::string& typed) const {
    const fs::path folder = fs::path(data_.Path()).parent_path();
    ProgramRun run = RunProgram("cd '" + folder.parent_path().string() + "' && " +
                                KIRAVEL_CHECK_PATH + " '" + folder.filename().string() + "' 2>&1");
    EXPECT_EQ(run.status, 0);
    for (std::string& line : run.lines) {
      if (line.starts_with(folder.filename().string() + "/")) {
        line.replace(0, folder.filename().string().size(), typed);
      }
    }
    return run.lines;
  }

 private:
  static bool RetoldLine(const std::vector<Block>& blocks, const std::string& name) {
    if (!IsStoryScene(name)) return false;
    for (const Block& block : blocks) {
      const std::string given = SceneName(block.path);
      if (block.kind == "kiravel" && IsStoryScene(given) && given[0] == name[0]) return true;
    }
    return false;
  }

  testing::DataFolder data_;
};

// The pages the guide shows, each as the text label holds it: a line break,
// then the page's lines joined by line breaks, the last ending in "▼".
std::vector<std::string> GuidePages(const std::vector<std::string>& screen) {
  std::vector<std::string> pages;
  std::string page;
  for (const std::string& line : screen) {
    page += "\r\n" + line;
    if (line.ends_with(kPageMark)) pages.push_back(std::exchange(page, ""));
  }
  return pages;
}

struct Played {
  std::vector<std::string> pages;
  Json after;  // the dump after the click on the last page the guide shows
  std::vector<std::string> problems;  // errors and pictures that failed
};

// Plays the scene click by click and notes every page that ends.
Played PlayScene(const std::string& folder, const std::string& scene, std::size_t pages,
                 std::size_t scriptLines) {
  std::string scenario = "scene " + scene + "\n";
  for (std::size_t click = 0; click <= scriptLines + 1; ++click) {
    scenario += "dump Lbl PicStt Com(4)\nclick Lbl\n";
  }
  const std::string file = folder + "scenario.txt";
  std::ofstream(file) << scenario;
  ProgramRun run = RunProgram(std::string(KIRAVEL_RUN_PATH) + " --seed 1 --app '" + folder + "' '" + file +
                       "' 2>/dev/null");
  Played played;
  bool afterLastPage = false;
  for (const std::string& line : run.lines) {
    Json object = JsonReader(line).Read();
    if (object.Has("error")) played.problems.push_back(line);
    if (object.Has("picture") && !object["picture"]["ok"].flag) played.problems.push_back(line);
    if (!object.Has("dump")) continue;
    const Json& dump = object["dump"];
    if (afterLastPage) {
      played.after = dump;
      break;
    }
    const std::string& caption = dump["Lbl"]["Caption"].text;
    if (dump["Lbl"]["Shown"].flag && caption.ends_with(kPageMark)) {
      played.pages.push_back(caption);
      afterLastPage = played.pages.size() == pages;
    }
  }
  return played;
}

TEST(AuthorsGuide, CommandTableListsEveryCommandOfTheGameInItsOrder) {
  std::vector<std::string> game;
  for (std::string_view keyword : CommandKeywords()) game.emplace_back(keyword);
  game.push_back(kPauseMark);
  game.push_back(kNameMark);
  for (const Guide& guide : kGuides) {
    EXPECT_EQ(TableKeywords(ReadLines(fs::path(KIRAVEL_DOCS_DIR) / guide.file), guide.keywordHeading),
              game)
        << guide.file;
  }
}

TEST(AuthorsGuide, BothLanguagesShowTheSameExamples) {
  auto files = [](const char* guide) {
    std::map<std::string, std::vector<std::string>> shown;
    for (const Block& block : FencedBlocks(ReadLines(fs::path(KIRAVEL_DOCS_DIR) / guide))) {
      shown[block.kind + " " + block.path] = block.lines;
    }
    return shown;
  };
  EXPECT_EQ(files(kGuides[0].file), files(kGuides[1].file));
}

TEST(AuthorsGuide, ExamplesPassTheCheckerAndPlayAsTheGuideSays) {
  for (const Guide& guide : kGuides) {
    SCOPED_TRACE(guide.file);
    const std::vector<Block> blocks = FencedBlocks(ReadLines(fs::path(KIRAVEL_DOCS_DIR) / guide.file));
    ASSERT_GT(blocks.size(), 10u);
    GuideFolder folder(blocks);
    int checks = 0;
    for (const Block& block : blocks) {
      if (block.kind != "kiravel-check") continue;
      EXPECT_EQ(folder.Check(block.path), block.lines);
      ++checks;
    }
    EXPECT_EQ(checks, 1) << "the guide shows what kiravel-check says of its folder";
    std::map<std::string, const Block*> screens;
    for (const Block& block : blocks) {
      if (block.kind == "kiravel-screen") screens[block.path] = &block;
    }
    for (const Block& block : blocks) {
      if (block.kind != "kiravel" || !IsScene(SceneName(block.path))) continue;
      SCOPED_TRACE(block.path);
      ASSERT_EQ(screens.count(block.path), 1u) << "the guide does not say what the player sees";
      const std::vector<std::string> pages = GuidePages(screens[block.path]->lines);
      Played played = PlayScene(folder.Path(), SceneName(block.path), pages.size(), block.lines.size());
      EXPECT_EQ(played.pages, pages);
      EXPECT_EQ(played.problems, std::vector<std::string>{});
      // The click on the last page leaves the scene as its last line says.
      ASSERT_EQ(played.after.kind, Json::Kind::Object);
      const std::string& last = block.lines.back();
      switch (CommandOf(last)) {
        case ScriptCommand::StoryEnd:
          EXPECT_TRUE(played.after["PicStt"]["Visible"].flag);
          break;
        case ScriptCommand::BonusPage: {
          std::optional<BonusPageRequest> page =
              ReadBonusPageRequest(CommandArgument(ScriptCommand::BonusPage, last));
          ASSERT_TRUE(page.has_value());
          EXPECT_TRUE(fs::exists(folder.Path() + page->PageName + kPageEnding));
          break;
        }
        default:
          EXPECT_TRUE(played.after["Com(4)"]["Shown"].flag);
          EXPECT_FALSE(played.after["Lbl"]["Shown"].flag);
      }
    }
  }
}

}  // namespace
}  // namespace kiravel
