#include "app/kiravel/read_pages.h"

#include <charconv>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string_view>
#include <vector>

#include "platform/open_folder.h"
#include "platform/regular_file.h"
#include "platform/textfile.h"

namespace kiravel::qt {

namespace {

constexpr std::string_view kHeading = "kiravel read pages 1";
constexpr std::string_view kFolderMark = "folder ";
// A file far larger than every line of every scene could fill is no file of ours.
constexpr std::size_t kLargestFile = 16 * 1024 * 1024;

std::string FolderOf(const std::string& dataFolder) {
  std::error_code error;
  std::filesystem::path canonical = std::filesystem::weakly_canonical(dataFolder, error);
  return error ? dataFolder : canonical.string();
}

std::vector<std::string_view> Lines(std::string_view bytes) {
  std::vector<std::string_view> lines;
  while (!bytes.empty()) {
    const std::size_t end = bytes.find('\n');
    lines.push_back(bytes.substr(0, end));
    if (end == std::string_view::npos) break;
    bytes.remove_prefix(end + 1);
  }
  return lines;
}

// The places of the file, or nothing at all when any line is not as it was
// written: a half-known list would skip pages never read.
std::set<ReadPages::Place> Parse(std::string_view bytes, const std::string& folder) {
  std::vector<std::string_view> lines = Lines(bytes);
  if (lines.size() < 2 || lines[0] != kHeading) return {};
  if (lines[1].substr(0, kFolderMark.size()) != kFolderMark ||
      lines[1].substr(kFolderMark.size()) != folder) {
    return {};
  }
  std::set<ReadPages::Place> places;
  for (std::size_t i = 2; i < lines.size(); ++i) {
    const std::string_view line = lines[i];
    const std::size_t tab = line.rfind('\t');
    if (tab == std::string_view::npos || tab == 0) return {};
    int number = 0;
    const char* last = line.data() + line.size();
    auto [end, error] = std::from_chars(line.data() + tab + 1, last, number);
    if (error != std::errc() || end != last || number < 0) return {};
    places.emplace(std::string(line.substr(0, tab)), number);
  }
  return places;
}

}  // namespace

std::string ReadPages::FileName(const std::string& dataFolder) {
  // FNV-1a: short, and the same on every machine and every run.
  std::uint64_t hash = 14695981039346656037ull;
  for (unsigned char byte : FolderOf(dataFolder)) {
    hash ^= byte;
    hash *= 1099511628211ull;
  }
  char name[40];
  std::snprintf(name, sizeof name, "read-%016llx.txt", static_cast<unsigned long long>(hash));
  return name;
}

void ReadPages::KeepIn(const std::string& playerFolder, const std::string& dataFolder) {
  playerFolder_ = playerFolder;
  dataFolder_ = FolderOf(dataFolder);
  FileBytes file = ReadRegularFile(File());
  if (file.Error != FileReadError::None || file.Bytes.size() > kLargestFile) return;
  std::set<Place> kept = Parse(file.Bytes, dataFolder_);
  read_.insert(kept.begin(), kept.end());
}

std::string ReadPages::File() const {
  return playerFolder_.empty() ? "" : playerFolder_ + FileName(dataFolder_);
}

void ReadPages::Mark(const Place& place) {
  if (read_.insert(place).second) changed_ = true;
}

void ReadPages::Keep() {
  if (!changed_ || playerFolder_.empty()) return;
  FolderOpening opening = OpenFolderPlace(WritablePlace(playerFolder_, false), true);
  if (opening.Error != FolderError::None) return;
  std::string bytes = std::string(kHeading) + "\n" + std::string(kFolderMark) + dataFolder_ + "\n";
  for (const auto& [scene, line] : read_) bytes += scene + "\t" + std::to_string(line) + "\n";
  if (ReplaceFileAt(opening.Folder.Fd(), FileName(dataFolder_), bytes, false).empty()) {
    changed_ = false;
  }
}

}  // namespace kiravel::qt
