#include "platform/data_folder.h"

namespace kiravel {

std::string PictureFile(const std::string& name) { return "img/" + name + ".dat"; }

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
