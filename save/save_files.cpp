#include "save/save_files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdint>
#include <cstring>

#include "core/conversions.h"
#include "platform/open_folder.h"
#include "platform/regular_file.h"
#include "platform/textfile.h"

namespace kiravel {

namespace {

// Present only while a complete new set is being moved into place: it names
// the size and checksum of each file of that set. Without it, the files under
// their own names are the save; with it, the new set is, wherever each of its
// files lies at that moment (still staged, or already moved).
constexpr const char* kManifest = "commit.lst";
constexpr const char* kSetAside = "commit.lst.bad";

// How long a save or a load waits for another game that is saving or
// loading in the same folder: far longer than any save takes.
constexpr std::chrono::seconds kPatience{10};

std::string Staged(const std::string& name) { return name + ".new"; }

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

// The save folder, open and held by this game alone, with its path as the
// player is shown it.
struct Folder {
  OpenFolder open;
  std::string path;
  int fd() const { return open.Fd(); }
  std::string Shown(const std::string& name) const { return path + name; }
};

// The folder's own record of its entries must reach the disk too, or a power
// cut can undo a rename that the file's contents survived.
bool SyncFolder(const Folder& folder) { return ::fsync(folder.fd()) == 0; }

bool IsFile(const Folder& folder, const std::string& name) {
  struct stat entry {};
  return ::fstatat(folder.fd(), name.c_str(), &entry, AT_SYMLINK_NOFOLLOW) == 0 &&
         S_ISREG(entry.st_mode);
}

bool Exists(const Folder& folder, const std::string& name) {
  struct stat entry {};
  return ::fstatat(folder.fd(), name.c_str(), &entry, AT_SYMLINK_NOFOLLOW) == 0;
}

std::string ManifestLine(std::size_t i, const std::string& bytes) {
  return std::string(kSaveFileNames[i]) + "," + CStr(static_cast<std::int64_t>(bytes.size())) +
         "," + Hex(Checksum(bytes));
}

// Whether the file holds exactly what the manifest's line i names.
bool MatchesManifest(const Folder& folder, const std::string& line, std::size_t i,
                     const std::string& name) {
  FileBytes file = ReadRegularFileAt(folder.fd(), name);
  return file.Error == FileReadError::None && line == ManifestLine(i, file.Bytes);
}

struct Resolved {
  std::array<std::string, 4> Names;
  std::optional<SaveFault> Fault;
  bool Pending = false;  // a committed set is not wholly in place yet
};

// Moves a committed set's staged files to their own names, then drops the
// manifest. Where that cannot be done (a read-only folder) the set stays
// readable through the names left in r.
void MoveIntoPlace(const Folder& folder, Resolved& r) {
  bool moved = true;
  for (std::size_t i = 0; i < r.Names.size(); ++i) {
    const std::string final = kSaveFileNames[i];
    if (r.Names[i] == final) continue;
    if (::renameat(folder.fd(), r.Names[i].c_str(), folder.fd(), final.c_str()) == 0) {
      r.Names[i] = final;
    } else {
      moved = false;
    }
  }
  r.Pending = !moved || !SyncFolder(folder) || ::unlinkat(folder.fd(), kManifest, 0) != 0 ||
              !SyncFolder(folder);
}

bool AnyStaged(const Folder& folder) {
  for (const char* name : kSaveFileNames) {
    if (IsFile(folder, Staged(name))) return true;
  }
  return false;
}

// Only the last manifest set aside is kept, and only a file: a folder of
// that name is not the game's and is left alone.
void SetAside(const Folder& folder) {
  ::unlinkat(folder.fd(), kSetAside, 0);
  if (::renameat(folder.fd(), kManifest, folder.fd(), kSetAside) != 0) {
    ::unlinkat(folder.fd(), kManifest, 0);
  }
}

// Whether the manifest names exactly the files of a set, each either staged
// or already moved; r.Names then lead to them. Otherwise the fault.
std::optional<SaveFault> CheckManifest(const Folder& folder, Resolved& r) {
  const SaveFault damaged{folder.Shown(kManifest), 0, "途中で止まったセーブの記録が壊れています。"};
  // Only a file is a manifest: a folder or a link under its name is not.
  if (!IsFile(folder, kManifest)) return damaged;
  TextFileContent listed = ReadTextFileAt(folder.fd(), kManifest, true);
  if (listed.Error != TextFileError::None || listed.Lines.size() != r.Names.size()) return damaged;
  for (std::size_t i = 0; i < r.Names.size(); ++i) {
    if (IsFile(folder, Staged(r.Names[i]))) r.Names[i] = Staged(r.Names[i]);
    if (!MatchesManifest(folder, listed.Lines[i], i, r.Names[i])) {
      return SaveFault{folder.Shown(r.Names[i]), 0,
                       "途中で止まったセーブの記録と中身が食い違っています。"};
    }
  }
  return std::nullopt;
}

Resolved ResolveSet(const Folder& folder) {
  Resolved r;
  for (std::size_t i = 0; i < r.Names.size(); ++i) r.Names[i] = kSaveFileNames[i];
  if (!Exists(folder, kManifest)) return r;
  std::optional<SaveFault> misfit = CheckManifest(folder, r);
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
  SetAside(folder);
  return r;
}

void RemoveStaged(const Folder& folder) {
  for (const char* name : kSaveFileNames) ::unlinkat(folder.fd(), Staged(name).c_str(), 0);
  ::unlinkat(folder.fd(), Staged(kManifest).c_str(), 0);
}

SaveFault Unwritable(const std::string& path, const std::string& reason) {
  return SaveFault{path, 0, "書き込めません（" + reason + "）。"};
}

// Writes every file of the set under its staged name, all on the disk.
std::optional<SaveFault> StageSet(const Folder& folder, const std::array<std::string, 4>& bytes) {
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    std::string reason = WriteNewFileAt(folder.fd(), Staged(kSaveFileNames[i]), bytes[i], true);
    if (!reason.empty()) return Unwritable(folder.Shown(kSaveFileNames[i]), reason);
  }
  if (!SyncFolder(folder)) return Unwritable(folder.path, std::strerror(errno));
  return std::nullopt;
}

// The moment the new set becomes the save: the manifest appears by one rename.
std::optional<SaveFault> Commit(const Folder& folder, const std::array<std::string, 4>& bytes) {
  std::string listed;
  for (std::size_t i = 0; i < bytes.size(); ++i) listed += ManifestLine(i, bytes[i]) + "\r\n";
  std::string reason = WriteNewFileAt(folder.fd(), Staged(kManifest), listed, true);
  if (!reason.empty()) return Unwritable(folder.Shown(kManifest), reason);
  if (::renameat(folder.fd(), Staged(kManifest).c_str(), folder.fd(), kManifest) != 0) {
    return Unwritable(folder.Shown(kManifest), std::strerror(errno));
  }
  // The manifest's entry must be on the disk before any file is moved to
  // its own name, or a power cut could keep the moves and lose the manifest
  // that makes them one set.
  if (!SyncFolder(folder)) {
    const std::string reason = std::strerror(errno);
    ::unlinkat(folder.fd(), kManifest, 0);
    return Unwritable(folder.path, reason);
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

struct HeldFolder {
  Folder folder;
  std::optional<SaveFault> fault;
  bool missing = false;  // no save folder yet: nothing was ever saved
};

// Opens the save folder without following a link below the folder the
// player chose, and holds it for this save or load alone: another game
// saving or loading there at the same moment is waited for.
HeldFolder Hold(const FolderPlace& place, bool make) {
  HeldFolder held;
  held.folder.path = place.Path();
  FolderOpening opening = OpenFolderPlace(place, make);
  switch (opening.Error) {
    case FolderError::None: break;
    case FolderError::Missing:
      held.missing = true;
      if (!make) return held;
      [[fallthrough]];
    case FolderError::Unusable:
      held.fault = SaveFault{opening.Where, 0,
                             (make ? "フォルダを作れません（" : "フォルダを開けません（") +
                                 opening.Reason + "）。"};
      return held;
    case FolderError::Link:
      held.fault = SaveFault{opening.Where, 0, "フォルダではなくリンクです。リンクの先は使いません。"};
      return held;
  }
  held.folder.open = std::move(opening.Folder);
  if (!held.folder.open.Hold(kPatience)) {
    held.fault = SaveFault{held.folder.path, 0,
                           "ほかのゲームがこのセーブを読み書きしていて、終わるのを待ちきれませんでした。"};
  }
  return held;
}

}  // namespace

std::string DescribeSaveFault(const SaveFault& fault, const std::string& shownPath) {
  std::string where = shownPath;
  if (fault.Line > 0) where += " " + CStr(fault.Line) + "行目";
  return where + "：" + fault.What;
}

std::optional<SaveFault> WriteSaveSet(const FolderPlace& place, const SaveSet& set) {
  std::array<std::string, 4> bytes;
  if (std::optional<SaveFault> fault = EncodeSet(place.Path(), set, &bytes)) return fault;
  HeldFolder held = Hold(place, true);
  if (held.fault) return held.fault;
  const Folder& folder = held.folder;
  // A committed set not yet in place must be finished first: its staged
  // files are the save. A damaged one is no save at all, and the new set
  // simply replaces it.
  Resolved before = ResolveSet(folder);
  if (before.Pending) {
    return SaveFault{folder.Shown(kManifest), 0, "途中で止まった前のセーブを置き終えられません。"};
  }
  std::optional<SaveFault> fault = StageSet(folder, bytes);
  if (!fault) fault = Commit(folder, bytes);
  if (fault) {
    RemoveStaged(folder);
    return fault;
  }
  Resolved after = ResolveSet(folder);
  if (after.Fault || after.Pending) {
    return SaveFault{folder.path, 0,
                     "新しいセーブを置き終えられませんでした。次に読み込むときに置き直します。",
                     false};
  }
  // A whole save is in place: a manifest set aside earlier tells nothing more.
  ::unlinkat(folder.fd(), kSetAside, 0);
  return std::nullopt;
}

SaveSetRead ReadSaveSet(const FolderPlace& place) {
  SaveSetRead read;
  HeldFolder held = Hold(place, false);
  if (held.fault) {
    read.Fault = held.fault;
    return read;
  }
  if (held.missing) {
    read.Fault = SaveFault{held.folder.Shown(kSaveFileNames[0]), 0, "ファイルがありません。"};
    return read;
  }
  const Folder& folder = held.folder;
  Resolved r = ResolveSet(folder);
  if (r.Fault) {
    read.Fault = r.Fault;
    return read;
  }
  for (std::size_t i = 0; i < r.Names.size(); ++i) {
    TextFileContent content = ReadTextFileAt(folder.fd(), r.Names[i], true);
    const std::string shown = folder.Shown(r.Names[i]);
    switch (content.Error) {
      case TextFileError::None:
        read.Set.Lines[i] = std::move(content.Lines);
        continue;
      case TextFileError::Missing:
        read.Fault = SaveFault{shown, 0, "ファイルがありません。"};
        return read;
      case TextFileError::Unreadable:
        read.Fault = SaveFault{shown, 0, "ファイルを読めません。"};
        return read;
      case TextFileError::BadEncoding:
        read.Fault = SaveFault{shown, content.BadLine, "シフトJISとして読めない文字があります。"};
        return read;
    }
  }
  return read;
}

}  // namespace kiravel
