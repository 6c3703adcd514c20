// The pictures' descriptions a screen reader says in place of a picture:
// the file's form, the bundled folder's every picture described, and the
// checker's warning for a picture without a description.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "events/picture_descriptions.h"
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
  EXPECT_EQ(descriptions.Naming("img/mati.dat"), "晴れた街");
  EXPECT_EQ(descriptions.Naming("img/you.dat"), "img/you.dat");
  // Only a file of the picture folder is a picture by that name.
  EXPECT_EQ(descriptions.Naming("txt/mati.dat"), "txt/mati.dat");
  EXPECT_EQ(PictureName("img/09_1.dat"), "09_1");
  EXPECT_EQ(PictureName("img/.dat"), "");
  EXPECT_EQ(PictureName("img/mati.png"), "");
}

TEST(PictureDescriptions, EveryBundledPictureIsDescribed) {
  const std::string game = std::string(KIRAVEL_GAME_DIR) + "/";
  const PictureDescriptions descriptions = PictureDescriptions::Read(game);
  EXPECT_TRUE(descriptions.BadLines().empty());
  int pictures = 0;
  for (const auto& entry : std::filesystem::directory_iterator(game + "img")) {
    const std::string name = PictureName("img/" + entry.path().filename().string());
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
      if (line.find("pictures.dat") != std::string::npos) lines.push_back(line);
    }
    return lines;
  };
  EXPECT_EQ(findings(), std::vector<std::string>{});

  data.WriteText("txt/pictures.dat", {"ttl 題名の絵", "mati", "you 道"});
  const std::vector<std::string> lines = findings();
  ASSERT_FALSE(lines.empty());
  EXPECT_EQ(lines.front(),
            "img/bar.dat: warning: no description in txt/pictures.dat: a screen reader names it by "
            "its file");
  const std::string refused = "txt/pictures.dat:2: warning: needs a picture's name, a space and what the "
                              "picture shows";
  EXPECT_NE(std::find(lines.begin(), lines.end(), refused), lines.end());
  for (const std::string& line : lines) {
    EXPECT_EQ(line.find("img/ttl.dat"), std::string::npos) << line;
    EXPECT_EQ(line.find("img/you.dat"), std::string::npos) << line;
  }
}

}  // namespace
}  // namespace kiravel
