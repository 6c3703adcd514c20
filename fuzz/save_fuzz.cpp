// The save slot's four files of any bytes, loaded as "LOAD" does: a damaged
// save is refused, and whatever loads saves again to the very same files,
// which load again.
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>

#include "core/fom.h"
#include "platform/data_folder.h"
#include "platform/scripted_platform.h"
#include "save/save_files.h"
#include "testing/game_fixture.h"

namespace {

void Require(bool holds) {
  if (!holds) std::abort();
}

const kiravel::testing::DataFolder& Folder() {
  static const kiravel::testing::DataFolder folder;
  static const bool filled = (folder.WriteStandardFiles(), true);
  (void)filled;
  return folder;
}

// The save folder, ending in "/".
std::string SaveFolder() { return Folder().Path() + kiravel::SaveFolderPath(); }

// The input holds the four files in the order they are written, separated
// by NUL bytes; files past the last separator are missing.
void WriteSaveFiles(std::string_view input) {
  std::filesystem::remove_all(SaveFolder());
  std::filesystem::create_directories(SaveFolder());
  for (const char* name : kiravel::kSaveFileNames) {
    const std::size_t end = input.find('\0');
    Folder().WriteBytes(kiravel::SaveFolderPath() + name, std::string(input.substr(0, end)));
    if (end == std::string_view::npos) return;
    input.remove_prefix(end + 1);
  }
}

std::array<std::string, 4> ReadSaveFiles() {
  std::array<std::string, 4> files;
  for (std::size_t i = 0; i < files.size(); ++i) {
    files[i] = Folder().Read(kiravel::SaveFolderPath() + kiravel::kSaveFileNames[i]);
  }
  return files;
}

// A window opened on the folder, its saved game loaded: null when refused.
std::unique_ptr<kiravel::Fom> Load(kiravel::ScriptedPlatform& platform) {
  auto fom = std::make_unique<kiravel::Fom>(platform, Folder().Path());
  fom->Form_Load();
  fom->Form_Resize();
  platform.Failures.clear();  // the folder has no music: not the save's fault
  if (!fom->LoadGame()) return nullptr;
  return fom;
}

// Saves the loaded game and returns the files written.
std::array<std::string, 4> SaveAgain(kiravel::Fom& fom, kiravel::ScriptedPlatform& platform) {
  platform.Failures.clear();
  fom.SaveGame();
  Require(platform.Failures.empty());
  return ReadSaveFiles();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  WriteSaveFiles(std::string_view(reinterpret_cast<const char*>(data), size));
  kiravel::ScriptedPlatform platform;
  std::unique_ptr<kiravel::Fom> loaded = Load(platform);
  if (!loaded) {
    Require(!platform.Failures.empty());  // a refused save is told to the player
    return 0;
  }
  const std::array<std::string, 4> saved = SaveAgain(*loaded, platform);
  kiravel::ScriptedPlatform again;
  std::unique_ptr<kiravel::Fom> reloaded = Load(again);
  Require(reloaded != nullptr);
  Require(SaveAgain(*reloaded, again) == saved);
  return 0;
}
