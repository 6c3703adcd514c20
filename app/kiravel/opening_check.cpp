#include "app/kiravel/opening_check.h"

#include <filesystem>

#include "platform/data_folder.h"

namespace kiravel::qt {

std::vector<std::string> MissingData(const std::string& appPath) {
  std::vector<std::string> missing;
  std::error_code error;
  const std::string title = appPath + PictureFile(kTitlePicture);
  if (!std::filesystem::is_regular_file(title, error)) missing.push_back(title);
  const std::string texts = appPath + "txt/";
  if (!std::filesystem::is_directory(texts, error)) missing.push_back(texts);
  return missing;
}

std::string OpeningNotice(const std::vector<std::string>& missing,
                          const std::vector<std::string>& failures) {
  std::string notice;
  if (!missing.empty()) {
    notice = "ゲームのデータが見つかりません。次の場所を探しました：";
    for (const std::string& path : missing) notice += "\r\n" + path;
    notice += "\r\n\r\nプログラムと同じフォルダに img と txt のフォルダを置いてください。";
    return notice;
  }
  for (const std::string& failure : failures) {
    if (!notice.empty()) notice += "\r\n";
    notice += failure;
  }
  return notice;
}

}  // namespace kiravel::qt
