// What each picture shows, in a few words: a screen reader says them where a
// sighted player sees the picture. The data folder keeps them in one text
// file, one picture a line: the picture's name, a space, its description.
// Empty lines and lines starting with "#" are the author's notes.
#pragma once

#include <map>
#include <string>
#include <vector>

namespace kiravel {

class PictureDescriptions {
 public:
  PictureDescriptions() = default;
  explicit PictureDescriptions(const std::vector<std::string>& lines);
  // From the data folder (ending in "/"); a folder without the file describes nothing.
  static PictureDescriptions Read(const std::string& programFolder);

  // The description of a picture by its name ("mati"), or "" for none.
  const std::string& Of(const std::string& name) const;
  // What a picture painted from this file (its place below the data folder,
  // as a panel keeps it) is called: its description, or else the file itself.
  std::string Naming(const std::string& pictureFile) const;
  // The lines (1-based) that name no picture or describe it with nothing.
  const std::vector<int>& BadLines() const { return badLines_; }

 private:
  std::map<std::string, std::string> byName_;
  std::vector<int> badLines_;
};

// A picture file's name as the game paints it: the picture folder's file of
// "mati" gives "mati"; "" for a file outside the picture folder.
std::string PictureName(const std::string& pictureFile);

}  // namespace kiravel
