#include "platform/open_folder.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <string_view>
#include <thread>

namespace kiravel {

namespace {

constexpr std::string_view kStandInPrefix = ".kiravel-";

// How often a held folder is looked at again while waiting for it.
constexpr std::chrono::milliseconds kHoldRetry{20};

bool IsLink(int folder, const std::string& name) {
  struct stat entry {};
  return ::fstatat(folder, name.c_str(), &entry, AT_SYMLINK_NOFOLLOW) == 0 && S_ISLNK(entry.st_mode);
}

int OpenBelow(int folder, const std::string& name) {
  return ::openat(folder, name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
}

}  // namespace

std::string FolderPlace::Path() const {
  std::string path = Chosen.empty() ? "./" : Chosen;
  if (path.back() != '/') path += '/';
  for (const std::string& name : Below) path += name + "/";
  return path;
}

FolderPlace FolderPlace::Into(const std::string& name) const {
  FolderPlace place = *this;
  place.Below.push_back(name);
  return place;
}

FolderPlace WritablePlace(const std::string& writeFolder, bool isDataFolder) {
  if (isDataFolder) return FolderPlace(writeFolder);
  const std::filesystem::path folder = std::filesystem::path(writeFolder).lexically_normal();
  const std::filesystem::path own = folder.has_filename() ? folder : folder.parent_path();
  if (!own.has_parent_path() || own.filename().empty()) return FolderPlace(writeFolder);
  return FolderPlace(own.parent_path().string() + "/", {own.filename().string()});
}

OpenFolder::~OpenFolder() {
  if (fd_ >= 0) ::close(fd_);
}

OpenFolder& OpenFolder::operator=(OpenFolder&& other) noexcept {
  if (this != &other) {
    if (fd_ >= 0) ::close(fd_);
    fd_ = other.fd_;
    other.fd_ = -1;
  }
  return *this;
}

bool OpenFolder::TryHold() {
  while (::flock(fd_, LOCK_EX | LOCK_NB) != 0) {
    if (errno != EINTR) return false;
  }
  return true;
}

bool OpenFolder::Hold(std::chrono::milliseconds patience) {
  const auto until = std::chrono::steady_clock::now() + patience;
  while (!TryHold()) {
    if (errno != EWOULDBLOCK || std::chrono::steady_clock::now() >= until) return false;
    std::this_thread::sleep_for(kHoldRetry);
  }
  return true;
}

FolderOpening OpenFolderPlace(const FolderPlace& place, bool make) {
  FolderOpening opening;
  std::string where = place.Chosen.empty() ? "./" : place.Chosen;
  if (where.back() != '/') where += '/';
  auto fail = [&](FolderError error, int why) {
    opening.Folder = OpenFolder();
    opening.Error = error;
    opening.Where = where;
    opening.Reason = why != 0 ? std::strerror(why) : "";
    return std::move(opening);
  };
  if (where.find('\0') != std::string::npos) return fail(FolderError::Unusable, EINVAL);
  if (make) {
    std::error_code ignored;
    std::filesystem::create_directories(where, ignored);
  }
  opening.Folder = OpenFolder(::open(where.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (!opening.Folder.IsOpen()) {
    const int why = errno;
    return fail(why == ENOENT ? FolderError::Missing : FolderError::Unusable, why);
  }
  for (const std::string& name : place.Below) {
    where += name + "/";
    const int parent = opening.Folder.Fd();
    int fd = OpenBelow(parent, name);
    if (fd < 0 && errno == ENOENT && make) {
      if (::mkdirat(parent, name.c_str(), 0755) != 0 && errno != EEXIST) {
        return fail(FolderError::Unusable, errno);
      }
      fd = OpenBelow(parent, name);
    }
    if (fd < 0) {
      const int why = errno;
      if (why == ELOOP || IsLink(parent, name)) return fail(FolderError::Link, 0);
      return fail(why == ENOENT ? FolderError::Missing : FolderError::Unusable, why);
    }
    opening.Folder = OpenFolder(fd);
  }
  return opening;
}

void RemoveStaleStandIns(int folder, std::chrono::seconds age) {
  const int fd = ::dup(folder);
  if (fd < 0) return;
  DIR* entries = ::fdopendir(fd);
  if (entries == nullptr) {
    ::close(fd);
    return;
  }
  ::rewinddir(entries);
  const std::time_t before = std::time(nullptr) - static_cast<std::time_t>(age.count());
  while (const dirent* entry = ::readdir(entries)) {
    const std::string_view name = entry->d_name;
    if (name.substr(0, kStandInPrefix.size()) != kStandInPrefix) continue;
    struct stat info {};
    if (::fstatat(folder, entry->d_name, &info, AT_SYMLINK_NOFOLLOW) != 0) continue;
    if (!S_ISREG(info.st_mode) || info.st_mtime > before) continue;
    ::unlinkat(folder, entry->d_name, 0);
  }
  ::closedir(entries);
}

}  // namespace kiravel
