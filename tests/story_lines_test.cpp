// The story-line rule the towns follow, which kiravel-check follows too.
#include <gtest/gtest.h>

#include "core/story_lines.h"

namespace kiravel {
namespace {

// The checker names the line before as the one holding back a line's later
// scenes; the towns must hand over to exactly that line.
TEST(StoryLines, LaterScenesComeFromTheTownsOfTheLineBefore) {
  for (std::int16_t line = 0; line < kAttributeCount; ++line) {
    PerStoryLine started{};
    started.fill(kScenesInOwnTowns);
    EXPECT_EQ(WaitingLine(LineBefore(line), started), line) << "line " << line;
    started[LineBefore(line)] = kScenesInOwnTowns - 1;
    EXPECT_EQ(WaitingLine(LineBefore(line), started), LineBefore(line)) << "line " << line;
  }
}

TEST(StoryLines, TownsOfNoAttributeOfferNoStory) {
  const PerStoryLine started{};
  EXPECT_EQ(WaitingLine(-1, started), kNoStoryWaiting);
  EXPECT_EQ(WaitingLine(kAttributeCount, started), kNoStoryWaiting);
}

TEST(StoryLines, SceneNamesCarryTheCountWithoutLeadingZeros) {
  EXPECT_EQ(StorySceneName(0, 3), "03");
  EXPECT_EQ(StorySceneName(1, 10), "110");
}

}  // namespace
}  // namespace kiravel
