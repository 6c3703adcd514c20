// The converter as authors use it: the installed story taken out into UTF-8
// and put back must not change by one byte, or an author who starts from it
// ships a different story without touching it.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "platform/data_folder.h"
#include "testing/game_fixture.h"

namespace kiravel {
namespace {

namespace fs = std::filesystem;

std::string ReadBytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

struct Conversion {
  int status = -1;
  std::string errors;
};

Conversion Convert(const std::string& options, const fs::path& source, const fs::path& target,
                   const fs::path& errors) {
  const std::string command = std::string(KIRAVEL_TEXTCONV_PATH) + " " + options + " '" +
                              source.string() + "' '" + target.string() + "' 2>'" +
                              errors.string() + "'";
  const int status = std::system(command.c_str());
  return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, ReadBytes(errors)};
}

TEST(TextConverter, TheBundledStoryGoesToUtf8AndBackByteForByte) {
  testing::DataFolder work;
  const fs::path errors = work.Path() + "errors.txt";
  int converted = 0;
  for (const fs::directory_entry& entry : fs::directory_iterator(KIRAVEL_GAME_DIR "/txt")) {
    if (entry.path().extension() != kDataEnding) continue;
    const fs::path utf8 = work.Path() + entry.path().stem().string() + ".txt";
    const fs::path back = work.Path() + entry.path().filename().string();
    ASSERT_EQ(Convert("--to-utf8", entry.path(), utf8, errors).status, 0) << entry.path();
    // What comes out is what the story's author wrote.
    EXPECT_EQ(ReadBytes(utf8),
              ReadBytes(fs::path(KIRAVEL_DATA_SOURCES) / utf8.filename()))
        << entry.path();
    ASSERT_EQ(Convert("", utf8, back, errors).status, 0) << entry.path();
    EXPECT_EQ(ReadBytes(back), ReadBytes(entry.path())) << entry.path();
    ++converted;
  }
  EXPECT_GT(converted, 30);
}

TEST(TextConverter, NamesTheLineThatCannotBeConvertedAndWritesNothing) {
  testing::DataFolder work;
  const fs::path errors = work.Path() + "errors.txt";
  const fs::path target = work.Path() + DataFileName("target");
  work.WriteBytes("emoji.txt", "一行目\n二行目に🌙\n");
  Conversion toGame = Convert("", work.Path() + "emoji.txt", target, errors);
  EXPECT_EQ(toGame.status, 1);
  EXPECT_EQ(toGame.errors, work.Path() + "emoji.txt:2: a character here cannot be written in CP932\n");
  EXPECT_FALSE(fs::exists(target));

  // A lone lead byte of a two-byte character is no CP932 text.
  work.WriteBytes(DataFileName("broken"), "ok\r\n\x82\r\n");
  Conversion toUtf8 = Convert("--to-utf8", work.Path() + DataFileName("broken"), target, errors);
  EXPECT_EQ(toUtf8.status, 1);
  EXPECT_EQ(toUtf8.errors, work.Path() + DataFileName("broken") + ":2: these bytes are not CP932 text\n");
  EXPECT_FALSE(fs::exists(target));

  const int usage = std::system((std::string(KIRAVEL_TEXTCONV_PATH) + " only-one 2>/dev/null").c_str());
  EXPECT_EQ(WIFEXITED(usage) ? WEXITSTATUS(usage) : -1, 2);
}

}  // namespace
}  // namespace kiravel
