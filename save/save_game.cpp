// Saving the game from the tavern's system menu: the towns, the fairies, the
// accepted jobs and the courier's numbers go into the one save slot.
#include <optional>

#include "core/fom.h"
#include "save/save_files.h"
#include "save/scalar_lines.h"

namespace kiravel {

namespace {

constexpr std::int16_t kSaveItem = 0;
constexpr std::int16_t kLoadItem = 1;

// A number as the save file holds it: a space where a minus sign would go,
// and one space after, " 10000 " and "-5 ".
std::string NumberLine(std::int64_t value) {
  return (value < 0 ? "" : " ") + CStr(value) + " ";
}

// Entry i of each list of the family, joined by ",".
std::vector<std::string> FamilyLines(ControlArray<ListBox>& family, int columns) {
  std::vector<std::string> lines;
  const int rows = family[0].ListCount();
  lines.reserve(static_cast<std::size_t>(rows));
  for (int i = 0; i < rows; ++i) {
    std::string line = family[0].List(i);
    for (int j = 1; j < columns; ++j) line += "," + family[j].List(i);
    lines.push_back(std::move(line));
  }
  return lines;
}

}  // namespace

void Fom::menu_sis_c_Click(std::int16_t Index) {
  if (Index == kSaveItem) SaveGame();
  if (Index == kLoadItem) LoadGame();
}

FolderPlace Fom::SaveFolder() const {
  return WritablePlace(WritePath, WritePath == AppPath).Into(kTextFolder).Into(kSaveFolder);
}

SaveSet Fom::GameRecord() {
  SaveSet set;
  set[SaveFile::Towns] = FamilyLines(LstMati, 2);
  set[SaveFile::Fairies] = FamilyLines(LstYou, 2);
  set[SaveFile::Jobs] = FamilyLines(LstSigoto, kJobColumns);
  std::vector<std::string>& scalars = set[SaveFile::Scalars];
  scalars.resize(kScalarLines);
  scalars[kMoneyLine] = NumberLine(Money);
  scalars[kNameLine] = TxtName.Text;
  scalars[kTownLine] = NumberLine(MatiNow);
  scalars[kTextSpeedLine] = NumberLine(TimSay.Interval());
  for (std::size_t i = 0; i < StrVal.size(); ++i) scalars[kFirstStatusLine + i] = NumberLine(StrVal[i]);
  for (std::size_t i = 0; i < IveCount.size(); ++i) scalars[kFirstStoryLine + i] = NumberLine(IveCount[i]);
  return set;
}

void Fom::SaveGame() {
  const SaveSet set = GameRecord();
  const FolderPlace folder = SaveFolder();
  if (std::optional<SaveFault> fault = WriteSaveSet(folder, set)) {
    const char* outcome = fault->OldSaveKept
                              ? "セーブできませんでした。前のセーブはそのまま残っています。\r\n"
                              : "セーブを最後まで終えられませんでした。\r\n";
    platform_.ReportFailure(outcome + DescribeSaveFault(*fault, Relative(fault->Path)));
    return;
  }
  keptRecord_ = set;
  // A bonus page the game was writing when it was stopped is cleared now.
  FolderOpening pages = OpenFolderPlace(WritablePlace(WritePath, WritePath == AppPath), false);
  if (pages.Error == FolderError::None) RemoveStaleStandIns(pages.Folder.Fd(), kStaleStandIn);
  // A save kept outside the game's folder is named, so the player can find it.
  const std::string where = WritePath == AppPath ? "" : "\r\n" + folder.Path();
  platform_.MsgBox("SAVE　OK" + where, MsgBoxButtons::OK);
}

}  // namespace kiravel
