// The places in the scenes where the player has already read, in any game
// played with this data folder: what the fast-forward may pass without
// stopping. They are kept in the player's folder, one small file per data
// folder, replaced whole each time; a missing or damaged file means nothing
// has been read yet, and nobody is bothered about it.
#pragma once

#include <set>
#include <string>
#include <utility>

namespace kiravel::qt {

class ReadPages {
 public:
  // A place in a scene: its file (below the data folder) and the lines of it read so
  // far, which names the page waiting on screen.
  using Place = std::pair<std::string, int>;

  // Reads what was kept for the data folder in the player's folder, and
  // keeps it there from now on. Without it the places are held for this run
  // alone.
  void KeepIn(const std::string& playerFolder, const std::string& dataFolder);
  // The file in the player's folder; empty while nothing is kept.
  std::string File() const;

  bool Read(const Place& place) const { return read_.count(place) != 0; }
  void Mark(const Place& place);
  // Writes the file again when a place was marked since it was last
  // written. A failure is left for the next time: reading on matters more.
  void Keep();

  // The name of the file for a data folder: the same folder always finds
  // the same file, and two folders two files.
  static std::string FileName(const std::string& dataFolder);

 private:
  std::set<Place> read_;
  std::string playerFolder_;
  std::string dataFolder_;
  bool changed_ = false;
};

}  // namespace kiravel::qt
