#include "scenario/opening.h"

#include "platform/data_folder.h"

namespace kiravel::scenario {

void OpenWindow(Fom& fom, Opening& front) {
  front.RunEvent([&fom] { fom.Form_Load(); });
  front.ShowFirst();
  front.RunEvent([&fom] { fom.Form_Activate(); });
  const std::string notice = OpeningNotice(MissingData(fom.AppPath), front.UntoldFailures());
  if (!notice.empty()) front.Tell(notice);
}

std::string OpeningNotice(const std::vector<std::string>& missing,
                          const std::vector<std::string>& failures) {
  std::string notice;
  if (!missing.empty()) {
    notice = "ゲームのデータが見つかりません。次の場所を探しました：";
    for (const std::string& path : missing) notice += "\r\n" + path;
    notice += std::string("\r\n\r\nプログラムと同じフォルダに ") + kPictureFolder + " と " +
              kTextFolder + " のフォルダを置いてください。";
    return notice;
  }
  for (const std::string& failure : failures) {
    if (!notice.empty()) notice += "\r\n";
    notice += failure;
  }
  return notice;
}

}  // namespace kiravel::scenario
