#include "save/save_files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <filesystem>

#include "core/vb.h"
#include "platform/regular_file.h"
#include "platform/textfile.h"

namespace kiravel {

namespace {

// Present only while a complete new set is being moved into place: it names
// the size and checksum of each file of that set. Without it, the files under
// their own names are the save; with it, the new set is, wherever each of its
// files lies at that moment (still staged, or already moved).
constexpr const char* kManifest = "commit.lst";

std::string Staged(const std::string& path) { return path + ".new"; }

std::uint64_t Checksum(const std::string& bytes) {
  std::uint64_t hash = 14695981039346656037ull;  // FNV-1a
  for (unsigned char c : bytes) {
    hash ^= c;
    hash *= 1099511628211ull;
  }
  return hash;
}

std::string Hex(std::uint64_t value) {
  static const char kDigits[] = "0123456789abcdef";
  std::string text(16, '0');
  for (int i = 15; i >= 0; --i, value >>= 4) text[static_cast<std::size_t>(i)] = kDigits[value & 15];
  return text;
}

// The folder's own record of its entries must reach the disk too, or a power
// cut can undo a rename that the file's contents survived.
bool SyncFolder(const std::string& folder) {
  int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return false;
  bool ok = ::fsync(fd) == 0;
  int error = errno;
  ::close(fd);
  errno = error;
  return ok;
}

std::string ManifestLine(std::size_t i, const std::string& bytes) {
  return std::string(kSaveFileNames[i]) + "," + CStr(static_cast<std::int64_t>(bytes.size())) +
         "," + Hex(Checksum(bytes));
}

// Whether the file holds exactly what the manifest's line i names.
bool MatchesManifest(const std::string& line, std::size_t i, const std::string& path) {
  FileBytes file = ReadRegularFile(path);
  return file.Error == FileReadError::None && line == ManifestLine(i, file.Bytes);
}

struct Resolved {
  std::array<std::string, 4> Paths;
  std::optional<SaveFault> Fault;
  bool Pending = false;  // a committed set is not wholly in place yet
};

// Moves a committed set's staged files to their own names, then drops the
// manifest. Where that cannot be done (a read-only folder) the set stays
// readable through the paths left in r.
void MoveIntoPlace(const std::string& folder, Resolved& r) {
  bool moved = true;
  for (std::size_t i = 0; i < r.Paths.size(); ++i) {
    const std::string final = folder + kSaveFileNames[i];
    if (r.Paths[i] == final) continue;
    if (::rename(r.Paths[i].c_str(), final.c_str()) == 0) {
      r.Paths[i] = final;
    } else {
      moved = false;
    }
  }
  r.Pending = !moved || !SyncFolder(folder) ||
              ::unlink((folder + kManifest).c_str()) != 0 || !SyncFolder(folder);
}

bool AnyStaged(const std::string& folder) {
  for (const char* name : kSaveFileNames) {
    if (FileExists(Staged(folder + name))) return true;
  }
  return false;
}

// Only the last manifest set aside is kept.
void SetAside(const std::string& manifest) {
  const std::string aside = manifest + ".bad";
  std::error_code ignored;
  std::filesystem::remove_all(aside, ignored);
  ::rename(manifest.c_str(), aside.c_str());
}

// Whether the manifest names exactly the files of a set, each either staged
// or already moved; r.Paths then lead to them. Otherwise the fault.
std::optional<SaveFault> CheckManifest(const std::string& manifest, Resolved& r) {
  const SaveFault damaged{manifest, 0, "途中で止まったセーブの記録が壊れています。"};
  // Only a file is a manifest: a folder or a link under its name is not.
  struct stat entry {};
  if (::lstat(manifest.c_str(), &entry) != 0 || !S_ISREG(entry.st_mode)) return damaged;
  TextFileContent listed = ReadTextFile(manifest, true);
  if (listed.Error != TextFileError::None || listed.Lines.size() != r.Paths.size()) return damaged;
  for (std::size_t i = 0; i < r.Paths.size(); ++i) {
    if (FileExists(Staged(r.Paths[i]))) r.Paths[i] = Staged(r.Paths[i]);
    if (!MatchesManifest(listed.Lines[i], i, r.Paths[i])) {
      return SaveFault{r.Paths[i], 0, "途中で止まったセーブの記録と中身が食い違っています。"};
    }
  }
  return std::nullopt;
}

Resolved ResolveSet(const std::string& folder) {
  Resolved r;
  for (std::size_t i = 0; i < r.Paths.size(); ++i) r.Paths[i] = folder + kSaveFileNames[i];
  const std::string manifest = folder + kManifest;
  struct stat entry {};
  if (::lstat(manifest.c_str(), &entry) != 0) return r;
  std::optional<SaveFault> misfit = CheckManifest(manifest, r);
  if (!misfit) {
    MoveIntoPlace(folder, r);
    return r;
  }
  // With staged files beside it, the manifest decides: one that does not
  // fit them is no save at all. With none, it can only be left over from a
  // save that ended one way or another; it tells nothing about the four
  // files, which are the save as they would be without it.
  if (AnyStaged(folder)) {
    r.Fault = misfit;
    return r;
  }
  SetAside(manifest);
  return r;
}

void RemoveStaged(const std::string& folder) {
  for (const char* name : kSaveFileNames) ::unlink(Staged(folder + name).c_str());
  ::unlink(Staged(folder + kManifest).c_str());
}

SaveFault Unwritable(const std::string& path, const std::string& reason) {
  return SaveFault{path, 0, "書き込めません（" + reason + "）。"};
}

// Writes every file of the set under its staged name, all on the disk.
std::optional<SaveFault> StageSet(const std::string& folder,
                                  const std::array<std::string, 4>& bytes) {
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    const std::string path = folder + kSaveFileNames[i];
    std::string reason = WriteNewFile(Staged(path), bytes[i], true);
    if (!reason.empty()) return Unwritable(path, reason);
  }
  if (!SyncFolder(folder)) return Unwritable(folder, std::strerror(errno));
  return std::nullopt;
}

// The moment the new set becomes the save: the manifest appears by one rename.
std::optional<SaveFault> Commit(const std::string& folder,
                                const std::array<std::string, 4>& bytes) {
  std::string listed;
  for (std::size_t i = 0; i < bytes.size(); ++i) listed += ManifestLine(i, bytes[i]) + "\r\n";
  const std::string manifest = folder + kManifest;
  std::string reason = WriteNewFile(Staged(manifest), listed, true);
  if (!reason.empty()) return Unwritable(manifest, reason);
  if (::rename(Staged(manifest).c_str(), manifest.c_str()) != 0) {
    return Unwritable(manifest, std::strerror(errno));
  }
  // The manifest's entry must be on the disk before any file is moved to
  // its own name, or a power cut could keep the moves and lose the manifest
  // that makes them one set.
  if (!SyncFolder(folder)) {
    const std::string reason = std::strerror(errno);
    ::unlink(manifest.c_str());
    return Unwritable(folder, reason);
  }
  return std::nullopt;
}

std::optional<SaveFault> EncodeSet(const std::string& folder, const SaveSet& set,
                                   std::array<std::string, 4>* bytes) {
  for (std::size_t i = 0; i < bytes->size(); ++i) {
    int badLine = 0;
    std::optional<std::string> encoded = EncodeTextFile(set.Lines[i], &badLine);
    if (!encoded) {
      return SaveFault{folder + kSaveFileNames[i], badLine, "シフトJISで書けない文字があります。"};
    }
    (*bytes)[i] = std::move(*encoded);
  }
  return std::nullopt;
}

}  // namespace

std::string DescribeSaveFault(const SaveFault& fault, const std::string& shownPath) {
  std::string where = shownPath;
  if (fault.Line > 0) where += " " + CStr(fault.Line) + "行目";
  return where + "：" + fault.What;
}

std::optional<SaveFault> WriteSaveSet(const std::string& folder, const SaveSet& set) {
  std::error_code error;
  std::filesystem::create_directories(folder, error);
  if (error) return SaveFault{folder, 0, "フォルダを作れません（" + error.message() + "）。"};
  std::array<std::string, 4> bytes;
  if (std::optional<SaveFault> fault = EncodeSet(folder, set, &bytes)) return fault;
  // A committed set not yet in place must be finished first: its staged
  // files are the save. A damaged one is no save at all, and the new set
  // simply replaces it.
  Resolved before = ResolveSet(folder);
  if (before.Pending) {
    return SaveFault{folder + kManifest, 0, "途中で止まった前のセーブを置き終えられません。"};
  }
  std::optional<SaveFault> fault = StageSet(folder, bytes);
  if (!fault) fault = Commit(folder, bytes);
  if (fault) {
    RemoveStaged(folder);
    return fault;
  }
  Resolved after = ResolveSet(folder);
  if (after.Fault || after.Pending) {
    return SaveFault{folder, 0,
                     "新しいセーブを置き終えられませんでした。次に読み込むときに置き直します。",
                     false};
  }
  return std::nullopt;
}

SaveSetRead ReadSaveSet(const std::string& folder) {
  SaveSetRead read;
  Resolved r = ResolveSet(folder);
  if (r.Fault) {
    read.Fault = r.Fault;
    return read;
  }
  for (std::size_t i = 0; i < r.Paths.size(); ++i) {
    TextFileContent content = ReadTextFile(r.Paths[i], true);
    switch (content.Error) {
      case TextFileError::None:
        read.Set.Lines[i] = std::move(content.Lines);
        continue;
      case TextFileError::Missing:
        read.Fault = SaveFault{r.Paths[i], 0, "ファイルがありません。"};
        return read;
      case TextFileError::Unreadable:
        read.Fault = SaveFault{r.Paths[i], 0, "ファイルを読めません。"};
        return read;
      case TextFileError::BadEncoding:
        read.Fault = SaveFault{r.Paths[i], content.BadLine, "シフトJISとして読めない文字があります。"};
        return read;
    }
  }
  return read;
}

}  // namespace kiravel
