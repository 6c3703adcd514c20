#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "platform/textfile.h"
#include "testing/game_fixture.h"

namespace kiravel {
namespace {

using Lines = std::vector<std::string>;

TEST(TextFileWriting, LinesBecomeCp932EachEndedByCrLf) {
  testing::DataFolder folder;
  const std::string path = folder.Path() + "a.dat";
  ASSERT_EQ(WriteTextFile(path, {"表ソ", "", "a\r\nb"}).Error, TextWriteError::None);
  EXPECT_EQ(folder.Read("a.dat"), "\x95\x5c\x83\x5c\r\n\r\na\r\nb\r\n");
  EXPECT_EQ(ReadTextFile(path, true).Lines, (Lines{"表ソ", "", "a", "b"}));
  ASSERT_EQ(WriteTextFile(path, {}, true).Error, TextWriteError::None);
  EXPECT_EQ(folder.Read("a.dat"), "") << "replaced, not appended to";
}

// A character CP932 cannot hold (or would give back as another one, like the
// yen sign) is refused before the old file is touched.
TEST(TextFileWriting, TextCp932CannotHoldLeavesTheOldFile) {
  testing::DataFolder folder;
  folder.WriteBytes("a.dat", "old");
  for (const char* bad : {"😀", "¥"}) {
    TextWriteResult result = WriteTextFile(folder.Path() + "a.dat", {"ok", "ok", bad});
    EXPECT_EQ(result.Error, TextWriteError::BadEncoding) << bad;
    EXPECT_EQ(result.BadLine, 3) << bad;
  }
  EXPECT_EQ(folder.Read("a.dat"), "old");
}

TEST(TextFileWriting, UnwritablePlaceGivesTheReason) {
  testing::DataFolder folder;
  std::filesystem::create_directories(folder.Path() + "d.dat/inside");
  TextWriteResult result = WriteTextFile(folder.Path() + "d.dat", {"x"});
  EXPECT_EQ(result.Error, TextWriteError::Unwritable);
  EXPECT_FALSE(result.Reason.empty());
  EXPECT_EQ(WriteTextFile(folder.Path() + "no/such/folder.dat", {"x"}).Error,
            TextWriteError::Unwritable);
}

}  // namespace
}  // namespace kiravel
