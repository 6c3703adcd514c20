#include "check/description_check.h"

#include <algorithm>
#include <filesystem>

#include "events/picture_descriptions.h"
#include "platform/data_folder.h"

namespace kiravel::check {

namespace {

// The picture names of the picture folder, in order.
std::vector<std::string> PictureNames(const std::string& folder) {
  std::vector<std::string> names;
  std::error_code error;
  std::filesystem::directory_iterator entry(folder + kPictureFolder, error);
  for (; !error && entry != std::filesystem::directory_iterator(); entry.increment(error)) {
    const std::string name = PictureName(PictureFolderPath() + entry->path().filename().string());
    if (!name.empty()) names.push_back(name);
  }
  std::sort(names.begin(), names.end());
  return names;
}

}  // namespace

void CheckPictureDescriptions(const std::string& folder, const std::vector<std::string>& lines,
                              Findings& findings) {
  const std::string file = TextFile(kPictureDescriptions);
  const PictureDescriptions descriptions(lines);
  for (int line : descriptions.BadLines()) {
    findings.Warning(file, line, "needs a picture's name, a space and what the picture shows");
  }
  for (const std::string& name : PictureNames(folder)) {
    if (!descriptions.Of(name).empty()) continue;
    findings.Warning(PictureFile(name), 0,
                     "no description in " + file + ": a screen reader names it by its file");
  }
}

}  // namespace kiravel::check
