// The order in which a save reaches the disk. This program stands between
// the save and the system: its own renames and fsync note each call, then
// pass it on, so the test sees what a power cut could catch.
#include <dlfcn.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/data_folder.h"
#include "save/save_files.h"
#include "testing/game_fixture.h"

namespace {

std::vector<std::string>* calls = nullptr;

template <class Function>
Function Real(const char* name) {
  return reinterpret_cast<Function>(::dlsym(RTLD_NEXT, name));
}

}  // namespace

extern "C" int rename(const char* from, const char* to) {
  static auto real = Real<int (*)(const char*, const char*)>("rename");
  if (calls != nullptr) calls->push_back("move " + std::filesystem::path(to).filename().string());
  return real(from, to);
}

extern "C" int renameat(int fromFolder, const char* from, int toFolder, const char* to) {
  static auto real = Real<int (*)(int, const char*, int, const char*)>("renameat");
  if (calls != nullptr) calls->push_back("move " + std::filesystem::path(to).filename().string());
  return real(fromFolder, from, toFolder, to);
}

extern "C" int fsync(int fd) {
  static auto real = Real<int (*)(int)>("fsync");
  struct stat info {};
  if (calls != nullptr && ::fstat(fd, &info) == 0 && S_ISDIR(info.st_mode)) {
    calls->push_back("sync folder");
  }
  return real(fd);
}

namespace kiravel {
namespace {

// Until the folder is synced after the manifest appears, the system may
// write the data files' new names first; a power cut then leaves new files
// without the manifest that makes them one set.
TEST(SaveOrder, FolderIsSyncedAfterTheManifestAppearsAndBeforeAnyFileMoves) {
  testing::DataFolder data;
  SaveSet set;
  set[SaveFile::Towns] = {"(火)　あいう,0", "(草)　かきく,1"};
  set[SaveFile::Scalars] = {" 1 ", "ミンヤ", " 0 ", " 100 ", " 1 ", " 1 ", " 1 ", " 1 ",
                            " 1 ", " 0 ", " 0 ", " 0 "};
  std::vector<std::string> seen;
  calls = &seen;
  const std::optional<SaveFault> fault = WriteSaveSet(data.Path() + SaveFolderPath(), set);
  calls = nullptr;
  ASSERT_FALSE(fault.has_value()) << fault->What;

  const auto at = [&](const std::string& call) {
    return std::find(seen.begin(), seen.end(), call) - seen.begin();
  };
  const auto committed = at("move commit.lst");
  ASSERT_LT(committed, static_cast<long>(seen.size()));
  auto firstMove = static_cast<long>(seen.size());
  for (const char* name : kSaveFileNames) firstMove = std::min(firstMove, at(std::string("move ") + name));
  ASSERT_LT(firstMove, static_cast<long>(seen.size()));
  ASSERT_LT(committed, firstMove);
  EXPECT_NE(std::find(seen.begin() + committed, seen.begin() + firstMove, "sync folder"),
            seen.begin() + firstMove);
}

}  // namespace
}  // namespace kiravel
