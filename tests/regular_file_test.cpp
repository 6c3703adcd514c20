#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <string>

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
  folder.WriteBytes("plain.dat", "tugi\r\n");
  ASSERT_EQ(::mkfifo((base + "pipe.dat").c_str(), 0644), 0);
  std::filesystem::create_symlink("loop.dat", base + "loop.dat");
  std::filesystem::create_symlink("plain.dat", base + "link.dat");

  EXPECT_EQ(ReadRegularFile(base + "plain.dat").Bytes, "tugi\r\n");
  EXPECT_EQ(ReadRegularFile(base + "link.dat").Bytes, "tugi\r\n") << "links to files are files";
  EXPECT_EQ(ReadRegularFile(base + "pipe.dat").Error, FileReadError::NotRegular);
  EXPECT_EQ(ReadRegularFile(base + "txt").Error, FileReadError::NotRegular);
  EXPECT_EQ(ReadRegularFile(base + "none.dat").Error, FileReadError::Missing);
  EXPECT_EQ(ReadRegularFile(base + "plain.dat/x").Error, FileReadError::Missing);
  const FileBytes loop = ReadRegularFile(base + "loop.dat");
  EXPECT_EQ(loop.Error, FileReadError::Unreadable);
  EXPECT_FALSE(loop.Reason.empty());
  EXPECT_EQ(ReadRegularFile(base + std::string(300, 'a') + ".dat").Error,
            FileReadError::Unreadable);
  // The part after the NUL would be dropped by the system: plain.dat is
  // not what was asked for.
  EXPECT_EQ(ReadRegularFile(base + std::string("plain.dat\0.x", 12)).Error,
            FileReadError::Unreadable);

  EXPECT_EQ(ReadTextFile(base + "pipe.dat", false).Error, TextFileError::Unreadable);
  EXPECT_EQ(ReadTextFile(base + "loop.dat", false).Error, TextFileError::Unreadable);
}

TEST(RegularFiles, OpenedFileReadsBlockingLikeAnyOther) {
  testing::DataFolder folder;
  folder.WriteBytes("plain.dat", "abc");
  FileReadError error = FileReadError::Unreadable;
  const int fd = OpenRegularFile(folder.Path() + "plain.dat", &error);
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
