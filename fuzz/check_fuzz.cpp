// kiravel-check on data folders generated from the input: a sound folder
// whose files the input replaces or adds. The checker never breaks on what
// it reads, and a folder it finds nothing wrong with plays its opening
// scene to the end without a failure.
#include <QCoreApplication>
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <ostream>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "check/data_check.h"
#include "core/fom.h"
#include "platform/data_folder.h"
#include "platform/scripted_platform.h"
#include "scenario/output.h"
#include "scenario/runner.h"
#include "testing/game_fixture.h"
#include "testing/wave.h"

namespace {

void Require(bool holds) {
  if (!holds) std::abort();
}

// Every file the game reads by a fixed name, each sound.
void WriteSoundFolder(const kiravel::testing::DataFolder& folder) {
  folder.WriteStandardFiles();
  folder.WriteScript("opn", {"はじまり", ">img you", "-mは旅に出た。", "tugi"});
  folder.WriteScript("badend_day", {"一年が過ぎた。", ">end"});
  folder.WriteScript("badend_hp", {"力尽きた。", ">end"});
  folder.WriteScript("end", {"おしまい", ">end"});
  folder.WriteText(kiravel::TextFile("head"), {"<html><head><meta charset=\"Shift_JIS\"></head><body>"});
  folder.WriteText(kiravel::TextFile("foot"), {"</body></html>"});
  folder.WriteBytes(kiravel::kMusicFile, kiravel::testing::SilentWave(200));
}

// A name the input may give a file: below the picture or the text folder and
// with the data ending, or the music, with nothing that could lead out of
// the folder.
bool IsFileName(std::string_view name) {
  if (name == kiravel::kMusicFile) return true;
  if (!(name.starts_with(kiravel::PictureFolderPath()) || name.starts_with(kiravel::TextFolderPath())) ||
      !kiravel::HasDataEnding(name)) {
    return false;
  }
  const std::string_view stem = name.substr(4, name.size() - 8);
  if (stem.empty() || stem.size() > 64) return false;
  for (char c : stem) {
    const bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                       c == '_' || c == '-';
    if (!plain) return false;
  }
  return true;
}

// The input: a file name, a NUL byte, the file's bytes, a NUL byte, and so
// on. Pairs whose name is not a file name are passed over.
std::vector<std::pair<std::string, std::string>> FilesOf(std::string_view input) {
  std::vector<std::pair<std::string, std::string>> files;
  while (!input.empty()) {
    const std::size_t nameEnd = input.find('\0');
    if (nameEnd == std::string_view::npos) break;
    const std::string_view name = input.substr(0, nameEnd);
    input.remove_prefix(nameEnd + 1);
    const std::size_t bytesEnd = std::min(input.find('\0'), input.size());
    if (IsFileName(name)) files.emplace_back(name, input.substr(0, bytesEnd));
    input.remove_prefix(std::min(bytesEnd + 1, input.size()));
  }
  return files;
}

// Plays a new game's opening scene to its end with clicks; the failures the
// game told the player of.
std::vector<std::string> PlayOpening(const std::string& folder) {
  kiravel::ScriptedPlatform platform(1);
  kiravel::Fom fom(platform, folder);
  std::ostream discarded(nullptr);
  kiravel::run::Output output(discarded);
  output.Listen(platform, fom);
  kiravel::run::Runner runner(fom, platform, output);
  runner.Open();
  runner.Execute("click ComStt(1)");
  for (int click = 0; click < 20000 && fom.Files.OpenCount() != 0; ++click) {
    runner.Execute("click Lbl");
  }
  return platform.Failures;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
  // Picture decoders are plugins, found through the application object.
  static QCoreApplication application(*argc, *argv);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const kiravel::testing::DataFolder folder;
  WriteSoundFolder(folder);
  for (const auto& [name, bytes] : FilesOf(std::string_view(reinterpret_cast<const char*>(data), size))) {
    folder.WriteBytes(name, bytes);
  }
  const kiravel::check::Findings findings = kiravel::check::CheckDataFolder(folder.Path());
  for (const kiravel::check::Finding& finding : findings.Sorted()) {
    Require(!kiravel::check::Format(finding, folder.Path()).empty());
  }
  if (!findings.HasErrors()) Require(PlayOpening(folder.Path()).empty());
  return 0;
}
