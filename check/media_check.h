// The two kinds of binary data the game plays: pictures and the music.
#pragma once

#include <map>
#include <string>

namespace kiravel::check {

// Decodes the pictures of a data folder's picture folder by content, as the window
// does, each at most once however many scenes show it.
class PictureShelf {
 public:
  explicit PictureShelf(std::string folder) : folder_(std::move(folder)) {}
  // Why the picture of that name cannot be shown, or "" when it can.
  const std::string& Problem(const std::string& name);

 private:
  std::string folder_;
  std::map<std::string, std::string> problems_;
};

// Why the file is not music the game can play, or "" when it is.
std::string WaveProblem(const std::string& path);

}  // namespace kiravel::check
