#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "platform/data_folder.h"
#include "platform/textfile.h"
#include "testing/game_fixture.h"

namespace kiravel {
namespace {

using Lines = std::vector<std::string>;

TEST(TextFileWriting, LinesBecomeCp932EachEndedByCrLf) {
  testing::DataFolder folder;
  const std::string path = folder.Path() + DataFileName("a");
  ASSERT_EQ(WriteTextFile(path, {"表ソ", "", "a\r\nb"}).Error, TextWriteError::None);
  EXPECT_EQ(folder.Read(DataFileName("a")), "\x95\x5c\x83\x5c\r\n\r\na\r\nb\r\n");
  EXPECT_EQ(ReadTextFile(path, true).Lines, (Lines{"表ソ", "", "a", "b"}));
  ASSERT_EQ(WriteTextFile(path, {}, true).Error, TextWriteError::None);
  EXPECT_EQ(folder.Read(DataFileName("a")), "") << "replaced, not appended to";
}

// A character CP932 cannot hold (or would give back as another one, like the
// yen sign) is refused before the old file is touched.
TEST(TextFileWriting, TextCp932CannotHoldLeavesTheOldFile) {
  testing::DataFolder folder;
  folder.WriteBytes(DataFileName("a"), "old");
  for (const char* bad : {"😀", "¥"}) {
    TextWriteResult result = WriteTextFile(folder.Path() + DataFileName("a"), {"ok", "ok", bad});
    EXPECT_EQ(result.Error, TextWriteError::BadEncoding) << bad;
    EXPECT_EQ(result.BadLine, 3) << bad;
  }
  EXPECT_EQ(folder.Read(DataFileName("a")), "old");
}

TEST(TextFileWriting, UnwritablePlaceGivesTheReason) {
  testing::DataFolder folder;
  std::filesystem::create_directories(folder.Path() + DataFileName("d") + "/inside");
  TextWriteResult result = WriteTextFile(folder.Path() + DataFileName("d"), {"x"});
  EXPECT_EQ(result.Error, TextWriteError::Unwritable);
  EXPECT_FALSE(result.Reason.empty());
  EXPECT_EQ(WriteTextFile(folder.Path() + "no/such/" + DataFileName("folder"), {"x"}).Error,
            TextWriteError::Unwritable);
}

}  // namespace
}  // namespace kiravel
