#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "platform/cp932.h"
#include "platform/data_folder.h"
#include "platform/textfile.h"
#include "testing/game_fixture.h"

namespace kiravel {
namespace {

using Lines = std::vector<std::string>;

class TextFiles : public ::testing::Test {
 protected:
  std::string Write(const std::string& bytes) {
    folder.WriteBytes(TextFile("f"), bytes);
    return folder.Path() + TextFile("f");
  }
  Lines Read(const std::string& bytes) { return ReadTextFile(Write(bytes), true).Lines; }

  testing::DataFolder folder;
};

TEST_F(TextFiles, EveryKindOfLineEndEndsOneLine) {
  EXPECT_EQ(Read("a\r\nb\rc\nd"), (Lines{"a", "b", "c", "d"}));
  EXPECT_EQ(Read("a\r\n\r\nb\r\n"), (Lines{"a", "", "b"}));
  EXPECT_EQ(Read("\r\n"), (Lines{""}));
  EXPECT_EQ(Read("a\n\r"), (Lines{"a", ""}));
  EXPECT_EQ(Read(""), Lines{});
}

// 表 and ソ end in the byte of "\"; reading must not take it for anything.
TEST_F(TextFiles, ShiftJisTrailBytesStayInTheirCharacter) {
  EXPECT_EQ(Read("\x95\x5c\x83\x5c\r\n\x82\xa0"), (Lines{"表ソ", "あ"}));
}

TEST_F(TextFiles, StrictReadingNamesTheBadLineLenientReadingGoesOn) {
  std::string path = Write("ok\r\n\x82\xa0\r\nbad\xff\r\n\x82\r\nlast");
  TextFileContent strict = ReadTextFile(path, true);
  EXPECT_EQ(strict.Error, TextFileError::BadEncoding);
  EXPECT_EQ(strict.BadLine, 3);
  EXPECT_TRUE(strict.Lines.empty());

  TextFileContent lenient = ReadTextFile(path, false);
  EXPECT_EQ(lenient.Error, TextFileError::None);
  EXPECT_EQ(lenient.Lines,
            (Lines{"ok", "あ", "bad\xEF\xBF\xBD", "\xEF\xBF\xBD", "last"}));
}

TEST_F(TextFiles, MissingAndUnreadableFilesAreTold) {
  EXPECT_EQ(ReadTextFile(folder.Path() + TextFile("none"), false).Error, TextFileError::Missing);
  EXPECT_EQ(ReadTextFile(folder.Path() + kTextFolder, false).Error, TextFileError::Unreadable);
  EXPECT_FALSE(FileExists(folder.Path() + kTextFolder));
  EXPECT_TRUE(FileExists(Write("x")));
}

TEST_F(TextFiles, OpenFilesAreReadLineByLineUnderTheirNumbers) {
  FileTable files;
  std::string path = Write("\x88\xea\r\n\x93\xf1");
  EXPECT_EQ(files.FreeFile(), 1);
  ASSERT_EQ(files.OpenForInput(1, path), TextFileError::None);
  EXPECT_EQ(files.FreeFile(), 2);
  ASSERT_EQ(files.OpenForInput(2, path), TextFileError::None);

  EXPECT_EQ(files.LineInput(1), "一");
  EXPECT_FALSE(files.AtEnd(1));
  EXPECT_EQ(files.LineInput(1), "二");
  EXPECT_TRUE(files.AtEnd(1));
  EXPECT_EQ(files.LinesRead(1), 2);
  EXPECT_EQ(files.LineInput(1), "");
  EXPECT_EQ(files.LinesRead(2), 0);

  files.Close(1);
  EXPECT_EQ(files.FreeFile(), 1);
  EXPECT_EQ(files.OpenCount(), 1);
  EXPECT_TRUE(files.AtEnd(1));
  EXPECT_EQ(files.LineInput(1), "");
  files.Close(1);
  EXPECT_EQ(files.OpenCount(), 1);
}

TEST_F(TextFiles, FailedOpenLeavesNothingUnderTheNumber) {
  FileTable files;
  ASSERT_EQ(files.OpenForInput(1, Write("a")), TextFileError::None);
  EXPECT_EQ(files.OpenForInput(1, folder.Path() + DataFileName("none")), TextFileError::Missing);
  EXPECT_FALSE(files.IsOpen(1));
  EXPECT_EQ(files.OpenCount(), 0);
}

// A file kept under number 0 must not hide that number 1 is taken.
TEST_F(TextFiles, FreeNumberSkipsNumbersBelowOne) {
  FileTable files;
  std::string path = Write("a");
  ASSERT_EQ(files.OpenForInput(0, path), TextFileError::None);
  ASSERT_EQ(files.OpenForInput(1, path), TextFileError::None);
  EXPECT_EQ(files.FreeFile(), 2);
}

TEST(Cp932, SignsAndSpacesOfTheGameSurviveARoundTrip) {
  const std::string text = "〆↑￥\\　(火)　あいう";
  std::optional<std::string> bytes = Utf8ToCp932(text);
  ASSERT_TRUE(bytes);
  EXPECT_EQ(bytes->substr(0, 9), "\x81\x59\x81\xaa\x81\x8f\x5c\x81\x40");
  EXPECT_EQ(Cp932ToUtf8(*bytes), text);
}

TEST(Cp932, CharactersOutsideTheCodePageAreRefused) {
  EXPECT_FALSE(Utf8ToCp932("a😀"));
  EXPECT_FALSE(Utf8ToCp932("a\xff"));
  EXPECT_FALSE(Cp932CanEncode(U'😀'));
  EXPECT_FALSE(Cp932CanEncode(U'·'));
  EXPECT_FALSE(Cp932CanEncode(U'\uFFFD'));
  EXPECT_FALSE(Cp932CanEncode(0xD800));
  // The code page's own extensions: circled numbers and small roman numerals.
  EXPECT_TRUE(Cp932CanEncode(U'①'));
  EXPECT_TRUE(Cp932CanEncode(U'ⅰ'));
  EXPECT_TRUE(Cp932CanEncode(U'ミ'));
  EXPECT_TRUE(Cp932CanEncode(U'~'));
}

}  // namespace
}  // namespace kiravel

namespace kiravel {
namespace {

// The yen sign and the overline are written as "\" and "~" and would come
// back changed: a name holding them must not reach a save file altered.
TEST(Cp932, CharactersThatWouldComeBackChangedAreRefused) {
  EXPECT_FALSE(Cp932CanEncode(U'\u00A5'));
  EXPECT_FALSE(Cp932CanEncode(U'\u203E'));
  EXPECT_FALSE(Utf8ToCp932("\u00A5100").has_value());
  EXPECT_TRUE(Cp932CanEncode(U'\\'));
  EXPECT_TRUE(Cp932CanEncode(U'\uFFE5'));  // the full-width yen sign is a character of its own
}

}  // namespace
}  // namespace kiravel
