#include "platform/game_folders.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "kiravel/build_info.h"

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

}  // namespace

bool HoldsGameData(const std::string& folder) {
  std::error_code error;
  return fs::is_directory(fs::path(folder) / "img", error) &&
         fs::is_directory(fs::path(folder) / "txt", error);
}

std::string FindDataFolder(const std::string& named, const std::string& programFolder) {
  if (!named.empty()) return AsFolder(fs::absolute(named));
  const char* variable = std::getenv(kDataVariable);
  if (variable != nullptr && variable[0] != '\0') return AsFolder(fs::absolute(variable));
  if (HoldsGameData(programFolder)) return AsFolder(programFolder);
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
  const char* home = std::getenv("HOME");
  return AsFolder(fs::path(home != nullptr ? home : "") / ".local/share/kiravel");
}

std::string WritableFolder(const std::string& dataFolder, const std::string& playerFolder) {
  return ::access(dataFolder.c_str(), W_OK) == 0 ? dataFolder : playerFolder;
}

std::string LinkPictureFolder(const std::string& pageFolder, const std::string& pictureFolder) {
  const fs::path link = fs::path(pageFolder) / "img";
  const fs::path target = fs::path(pictureFolder).lexically_normal();
  std::error_code error;
  if (fs::is_symlink(link, error)) {
    if (fs::read_symlink(link, error) == target) return "";
    fs::remove(link, error);
  } else if (fs::exists(link, error)) {
    return "";
  }
  fs::create_directory_symlink(target, link, error);
  return error ? error.message() : "";
}

}  // namespace kiravel
