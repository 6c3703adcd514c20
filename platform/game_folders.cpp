#include "platform/game_folders.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <system_error>
#include <vector>

#include "kiravel/build_info.h"
#include "platform/data_folder.h"

namespace kiravel {

namespace fs = std::filesystem;

namespace {

std::string AsFolder(const fs::path& path) {
  std::string text = path.lexically_normal().string();
  if (text.empty()) return "./";
  if (text.back() != '/') text += '/';
  return text;
}

// A path from the environment, when it is set and absolute.
const char* AbsoluteVariable(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr && value[0] == '/' ? value : nullptr;
}

std::string HomeFolder() {
  const char* home = std::getenv("HOME");
  if (home != nullptr && home[0] != '\0') return home;
  // Started without HOME (by a service, or `env -i`): the system's own record
  // of the player still names it.
  std::vector<char> buffer(16384);
  struct passwd entry {};
  struct passwd* found = nullptr;
  if (::getpwuid_r(::getuid(), &entry, buffer.data(), buffer.size(), &found) == 0 &&
      found != nullptr && found->pw_dir != nullptr && found->pw_dir[0] != '\0') {
    return found->pw_dir;
  }
  return "/";
}

}  // namespace

std::string FindDataFolder(const std::string& named, const std::string& programFolder) {
  if (!named.empty()) return AsFolder(fs::absolute(named));
  const char* variable = std::getenv(kDataVariable);
  if (variable != nullptr && variable[0] != '\0') return AsFolder(fs::absolute(variable));
  if (HoldsGameData(AsFolder(programFolder))) return AsFolder(programFolder);
  const std::string installed = AsFolder(fs::path(programFolder) / kInstalledDataFromPrograms);
  if (HoldsGameData(installed)) return installed;
  return AsFolder(programFolder);
}

std::string ProgramFolder() {
  std::error_code error;
  fs::path exe = fs::read_symlink("/proc/self/exe", error);
  if (error) return "./";
  return AsFolder(exe.parent_path());
}

std::string PlayerFolder() {
  if (const char* data = AbsoluteVariable("XDG_DATA_HOME")) return AsFolder(fs::path(data) / "kiravel");
  return AsFolder(fs::path(HomeFolder()) / ".local/share/kiravel");
}

std::string WritableFolder(const std::string& dataFolder, const std::string& playerFolder) {
  return ::access(dataFolder.c_str(), W_OK) == 0 ? dataFolder : playerFolder;
}

}  // namespace kiravel
