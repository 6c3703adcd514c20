#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "platform/data_folder.h"
#include "platform/regular_file.h"
#include "platform/textfile.h"
#include "testing/game_fixture.h"

namespace kiravel {
namespace {

// A pipe, a folder or a name the system cannot take, where a data or save
// file belongs, is told as such at once: no reader waits for a writer that
// never comes.
TEST(RegularFiles, OnlyRegularFilesAreReadAndNothingWaits) {
  testing::DataFolder folder;
  const std::string base = folder.Path();
  folder.WriteBytes(DataFileName("plain"), "tugi\r\n");
  ASSERT_EQ(::mkfifo((base + DataFileName("pipe")).c_str(), 0644), 0);
  std::filesystem::create_symlink(DataFileName("loop"), base + DataFileName("loop"));
  std::filesystem::create_symlink(DataFileName("plain"), base + DataFileName("link"));

  EXPECT_EQ(ReadRegularFile(base + DataFileName("plain")).Bytes, "tugi\r\n");
  EXPECT_EQ(ReadRegularFile(base + DataFileName("link")).Bytes, "tugi\r\n") << "links to files are files";
  EXPECT_EQ(ReadRegularFile(base + DataFileName("pipe")).Error, FileReadError::NotRegular);
  EXPECT_EQ(ReadRegularFile(base + kTextFolder).Error, FileReadError::NotRegular);
  EXPECT_EQ(ReadRegularFile(base + DataFileName("none")).Error, FileReadError::Missing);
  EXPECT_EQ(ReadRegularFile(base + DataFileName("plain") + "/x").Error, FileReadError::Missing);
  const FileBytes loop = ReadRegularFile(base + DataFileName("loop"));
  EXPECT_EQ(loop.Error, FileReadError::Unreadable);
  EXPECT_FALSE(loop.Reason.empty());
  EXPECT_EQ(ReadRegularFile(base + std::string(300, 'a') + kDataEnding).Error,
            FileReadError::Unreadable);
  // The part after the NUL would be dropped by the system: the plain file
  // is not what was asked for.
  EXPECT_EQ(ReadRegularFile(base + DataFileName("plain") + std::string("\0.x", 3)).Error,
            FileReadError::Unreadable);

  EXPECT_EQ(ReadTextFile(base + DataFileName("pipe"), false).Error, TextFileError::Unreadable);
  EXPECT_EQ(ReadTextFile(base + DataFileName("loop"), false).Error, TextFileError::Unreadable);
}

TEST(RegularFiles, OpenedFileReadsBlockingLikeAnyOther) {
  testing::DataFolder folder;
  folder.WriteBytes(DataFileName("plain"), "abc");
  FileReadError error = FileReadError::Unreadable;
  const int fd = OpenRegularFile(folder.Path() + DataFileName("plain"), &error);
  ASSERT_GE(fd, 0);
  EXPECT_EQ(error, FileReadError::None);
  EXPECT_EQ(::fcntl(fd, F_GETFL) & O_NONBLOCK, 0);
  EXPECT_NE(::fcntl(fd, F_GETFD) & FD_CLOEXEC, 0);
  char bytes[4] = {};
  EXPECT_EQ(::read(fd, bytes, sizeof bytes), 3);
  ::close(fd);
}

}  // namespace
}  // namespace kiravel
