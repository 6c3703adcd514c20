#include "platform/data_folder.h"

#include <filesystem>
#include <system_error>

namespace kiravel {

std::string PictureFolderPath() { return std::string(kPictureFolder) + "/"; }

std::string TextFolderPath() { return std::string(kTextFolder) + "/"; }

std::string DataFileName(const std::string& name) { return name + kDataEnding; }

bool HasDataEnding(std::string_view fileName) { return fileName.ends_with(kDataEnding); }

std::string PictureFile(const std::string& name) { return PictureFolderPath() + DataFileName(name); }

std::string TextFile(const std::string& name) { return TextFolderPath() + DataFileName(name); }

std::vector<std::string> MissingData(const std::string& folder) {
  std::vector<std::string> missing;
  std::error_code error;
  const std::string title = folder + PictureFile(kTitlePicture);
  if (!std::filesystem::is_regular_file(title, error)) missing.push_back(title);
  const std::string texts = folder + TextFolderPath();
  if (!std::filesystem::is_directory(texts, error)) missing.push_back(texts);
  return missing;
}

bool HoldsGameData(const std::string& folder) { return MissingData(folder).empty(); }

std::string SaveFolderPath() { return TextFolderPath() + kSaveFolder + "/"; }

std::string MonsterPicture(const std::string& attribute) { return "mon" + attribute; }

std::string RumourFile(int number) { return "mati" + std::to_string(number); }

std::string CharacterPiece(const std::string& key) { return "char" + key; }

std::vector<std::string> BonusPictures(const std::string& key) {
  std::vector<std::string> names;
  for (int k = 0; k <= 8; ++k) names.push_back(key + std::to_string(k));
  names.push_back(key + "9_1");
  names.push_back(key + "9_2");
  return names;
}

}  // namespace kiravel
