// The pictures' descriptions a screen reader says in place of a picture:
// the file's form, the bundled folder's every picture described, and the
// checker's warning for a picture without a description.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "events/picture_descriptions.h"
#include "platform/data_folder.h"
#include "testing/game_fixture.h"
#include "testing/program_run.h"

namespace kiravel {
namespace {

TEST(PictureDescriptions, ALineIsANameASpaceAndWhatThePictureShows) {
  const PictureDescriptions descriptions(
      {"# 作者のメモ", "", "mati 晴れた街", "09_1  夜の灯台", "bare", " 名前のない説明", "you "});
  EXPECT_EQ(descriptions.Of("mati"), "晴れた街");
  EXPECT_EQ(descriptions.Of("09_1"), "夜の灯台");
  EXPECT_EQ(descriptions.Of("#"), "");
  EXPECT_EQ(descriptions.Of("you"), "");
  EXPECT_EQ(descriptions.BadLines(), (std::vector<int>{5, 6, 7}));
}

TEST(PictureDescriptions, APictureWithoutOneIsNamedByItsFile) {
  const PictureDescriptions descriptions({"mati 晴れた街"});
  EXPECT_EQ(descriptions.Naming(PictureFile("mati")), "晴れた街");
  EXPECT_EQ(descriptions.Naming(PictureFile("you")), PictureFile("you"));
  // Only a file of the picture folder is a picture by that name.
  EXPECT_EQ(descriptions.Naming(TextFile("mati")), TextFile("mati"));
  EXPECT_EQ(PictureName(PictureFile("09_1")), "09_1");
  EXPECT_EQ(PictureName(PictureFolderPath() + kDataEnding), "");
  EXPECT_EQ(PictureName(PictureFolderPath() + "mati.png"), "");
}

TEST(PictureDescriptions, EveryBundledPictureIsDescribed) {
  const std::string game = std::string(KIRAVEL_GAME_DIR) + "/";
  const PictureDescriptions descriptions = PictureDescriptions::Read(game);
  EXPECT_TRUE(descriptions.BadLines().empty());
  int pictures = 0;
  for (const auto& entry : std::filesystem::directory_iterator(game + kPictureFolder)) {
    const std::string name = PictureName(PictureFolderPath() + entry.path().filename().string());
    EXPECT_NE(descriptions.Of(name), "") << name;
    ++pictures;
  }
  EXPECT_GT(pictures, 40);
}

// A folder that describes its pictures is told of each one it left out; a
// folder without the file was never described and is left alone.
TEST(PictureDescriptions, TheCheckerWarnsOfAPictureWithoutADescription) {
  testing::DataFolder data;
  data.WriteStandardFiles();
  data.WriteScript("opn", {"はじまり", "tugi"});
  const std::string check = std::string(KIRAVEL_CHECK_PATH) + " " + data.Path() + " 2>/dev/null";
  auto findings = [&] {
    std::vector<std::string> lines;
    for (std::string line : testing::RunProgram(check).lines) {
      if (line.starts_with(data.Path())) line.erase(0, data.Path().size());
      if (line.find(DataFileName(kPictureDescriptions)) != std::string::npos) lines.push_back(line);
    }
    return lines;
  };
  EXPECT_EQ(findings(), std::vector<std::string>{});

  data.WriteText(TextFile(kPictureDescriptions), {"ttl 題名の絵", "mati", "you 道"});
  const std::vector<std::string> lines = findings();
  ASSERT_FALSE(lines.empty());
  EXPECT_EQ(lines.front(),
            PictureFile("bar") + ": warning: no description in " + TextFile(kPictureDescriptions) + ": a screen reader names it by "
            "its file");
  const std::string refused = TextFile(kPictureDescriptions) + ":2: warning: needs a picture's name, a space and what the "
                              "picture shows";
  EXPECT_NE(std::find(lines.begin(), lines.end(), refused), lines.end());
  for (const std::string& line : lines) {
    EXPECT_EQ(line.find(PictureFile("ttl")), std::string::npos) << line;
    EXPECT_EQ(line.find(PictureFile("you")), std::string::npos) << line;
  }
}

}  // namespace
}  // namespace kiravel
