// A folder the game writes into, held open while it works there: every file
// in it is reached relative to the open folder, and no folder below the one
// the player or the system chose is ever reached through a link. A data pack
// that ships the save folder as a link to another folder, or anyone who swaps a
// folder for a link while the game works, cannot make it write elsewhere.
#pragma once

#include <chrono>
#include <string>
#include <vector>

namespace kiravel {

// Where a folder lies: the folder the player or the system chose (a link
// there is followed, as the player would expect), then the folders below it,
// which must be real folders.
struct FolderPlace {
  FolderPlace() = default;
  FolderPlace(std::string chosen) : Chosen(std::move(chosen)) {}  // NOLINT: a whole path is chosen
  FolderPlace(std::string chosen, std::vector<std::string> below)
      : Chosen(std::move(chosen)), Below(std::move(below)) {}
  // The folder's path, ending in "/": how the player is shown it.
  std::string Path() const;
  // The place of a folder below this one.
  FolderPlace Into(const std::string& name) const;

  std::string Chosen;
  std::vector<std::string> Below;
};

// The folder the game writes into: the data folder itself when the player
// may write there; otherwise the player's own folder, whose last name is the
// game's own and so is not followed when it is a link.
FolderPlace WritablePlace(const std::string& writeFolder, bool isDataFolder);

enum class FolderError { None, Missing, Link, Unusable };

// An open folder; closed when it goes.
class OpenFolder {
 public:
  OpenFolder() = default;
  explicit OpenFolder(int fd) : fd_(fd) {}
  ~OpenFolder();
  OpenFolder(OpenFolder&& other) noexcept : fd_(other.fd_) { other.fd_ = -1; }
  OpenFolder& operator=(OpenFolder&& other) noexcept;
  OpenFolder(const OpenFolder&) = delete;
  OpenFolder& operator=(const OpenFolder&) = delete;

  int Fd() const { return fd_; }
  bool IsOpen() const { return fd_ >= 0; }

  // Holds the folder for this process alone until it is closed; another
  // process holding it is waited for up to `patience`. The system lets go
  // of it when the process ends, however it ends. False when the wait ran
  // out.
  bool Hold(std::chrono::milliseconds patience);
  // Holds the folder only if nobody else holds it, without waiting.
  bool TryHold();

 private:
  int fd_ = -1;
};

struct FolderOpening {
  OpenFolder Folder;
  FolderError Error = FolderError::None;
  std::string Where;   // the folder at fault, as the player is shown it
  std::string Reason;  // the system's words, when it gave any
};

// Opens the place, making missing folders when `make` is set.
FolderOpening OpenFolderPlace(const FolderPlace& place, bool make);

// How long a stand-in file (".kiravel-…", see ReplaceFileAt) lies untouched
// before it counts as left behind by a game that was stopped while writing:
// far longer than any writing takes, so another game writing one this
// moment keeps it.
inline constexpr std::chrono::hours kStaleStandIn{1};

// Removes the stale stand-in files directly in the folder.
void RemoveStaleStandIns(int folder, std::chrono::seconds age);

}  // namespace kiravel
