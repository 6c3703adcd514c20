#include "events/picture_descriptions.h"

#include "platform/data_folder.h"
#include "platform/textfile.h"

namespace kiravel {

PictureDescriptions::PictureDescriptions(const std::vector<std::string>& lines) {
  int number = 0;
  for (const std::string& line : lines) {
    ++number;
    if (line.empty() || line[0] == '#') continue;
    const std::size_t space = line.find(' ');
    const std::size_t text = line.find_first_not_of(' ', space);
    if (space == 0 || space == std::string::npos || text == std::string::npos) {
      badLines_.push_back(number);
      continue;
    }
    byName_[line.substr(0, space)] = line.substr(text);
  }
}

PictureDescriptions PictureDescriptions::Read(const std::string& programFolder) {
  TextFileContent file =
      ReadTextFile(programFolder + TextFile(kPictureDescriptions), false);
  return PictureDescriptions(file.Lines);
}

const std::string& PictureDescriptions::Of(const std::string& name) const {
  static const std::string none;
  auto found = byName_.find(name);
  return found == byName_.end() ? none : found->second;
}

std::string PictureDescriptions::Naming(const std::string& pictureFile) const {
  const std::string& description = Of(PictureName(pictureFile));
  return description.empty() ? pictureFile : description;
}

// The picture folder and ending are the ones PictureFile gives every name.
std::string PictureName(const std::string& pictureFile) {
  const std::string bare = PictureFile("");
  const std::size_t folder = bare.find('/') + 1;
  const std::size_t ending = bare.size() - folder;
  if (pictureFile.size() <= bare.size()) return "";
  std::string name = pictureFile.substr(folder, pictureFile.size() - folder - ending);
  return PictureFile(name) == pictureFile ? name : "";
}

}  // namespace kiravel
