#include "platform/regular_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstring>
#include <utility>

namespace kiravel {

namespace {

// Clears O_NONBLOCK again, so that reading a slow disk waits as it should.
int Blocking(int fd) {
  const int flags = ::fcntl(fd, F_GETFL);
  return flags < 0 ? -1 : ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
}

int OpenRegular(int folder, const std::string& path, int linkRule, FileReadError* error,
                std::string* reason) {
  auto fail = [&](FileReadError kind, int why) {
    *error = kind;
    if (reason != nullptr) *reason = why != 0 ? std::strerror(why) : "";
    return -1;
  };
  *error = FileReadError::None;
  // The system would read the name only up to a NUL byte: another file.
  if (path.find('\0') != std::string::npos) return fail(FileReadError::Unreadable, EINVAL);
  // Non-blocking, so that a pipe without a writer does not hold the open.
  const int fd =
      ::openat(folder, path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY | linkRule);
  if (fd < 0) {
    const int why = errno;
    const bool missing = why == ENOENT || why == ENOTDIR;
    return fail(missing ? FileReadError::Missing : FileReadError::Unreadable, why);
  }
  struct stat info {};
  FileReadError kind = FileReadError::None;
  int why = 0;
  if (::fstat(fd, &info) != 0) {
    kind = FileReadError::Unreadable;
    why = errno;
  } else if (!S_ISREG(info.st_mode)) {
    kind = FileReadError::NotRegular;
  } else if (Blocking(fd) != 0) {
    kind = FileReadError::Unreadable;
    why = errno;
  }
  if (kind == FileReadError::None) return fd;
  ::close(fd);
  return fail(kind, why);
}

FileBytes ReadOpened(int fd, FileBytes file) {
  if (fd < 0) return file;
  return ReadOpenedFile(fd);
}

}  // namespace

FileBytes ReadOpenedFile(int fd, std::size_t most) {
  FileBytes file;
  std::array<char, 65536> buffer;
  for (;;) {
    const ssize_t n = ::read(fd, buffer.data(), buffer.size());
    if (n < 0 && errno == EINTR) continue;
    if (n < 0 || file.Bytes.size() + static_cast<std::size_t>(n) > most) {
      file.Error = FileReadError::Unreadable;
      file.Reason = n < 0 ? std::strerror(errno) : "larger than " + std::to_string(most) + " bytes";
      file.Bytes.clear();
      break;
    }
    if (n == 0) break;
    file.Bytes.append(buffer.data(), static_cast<std::size_t>(n));
  }
  ::close(fd);
  return file;
}

int OpenRegularFile(const std::string& path, FileReadError* error, std::string* reason) {
  return OpenRegular(AT_FDCWD, path, 0, error, reason);
}

int OpenRegularFileAt(int folder, const std::string& name, FileReadError* error,
                      std::string* reason) {
  return OpenRegular(folder, name, O_NOFOLLOW, error, reason);
}

FileBytes ReadRegularFile(const std::string& path) {
  FileBytes file;
  const int fd = OpenRegularFile(path, &file.Error, &file.Reason);
  return ReadOpened(fd, std::move(file));
}

FileBytes ReadRegularFileAt(int folder, const std::string& name) {
  FileBytes file;
  const int fd = OpenRegularFileAt(folder, name, &file.Error, &file.Reason);
  return ReadOpened(fd, std::move(file));
}

}  // namespace kiravel
