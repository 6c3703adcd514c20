#include "core/fom.h"
#include "platform/data_folder.h"

#include <cstdlib>
#include <limits>

namespace kiravel {

void Fom::AddTown(const std::string& name, std::int16_t attribute) {
  // A town's place in the list is its 16-bit number; no further town could
  // be reached.
  if (LstMati[0].ListCount() >= std::numeric_limits<std::int16_t>::max()) return;
  LstMati[0].AddItem("(" + StrName[attribute] + ")　" + name);
  LstMati[1].AddItem(CStr(attribute));
}

void Fom::ChooseTown() {
  if (LstMati[0].Text().empty()) {
    platform_.MsgBox("行く街を選んで下さい", MsgBoxButtons::OK);
    return;
  }
  Lbl.Visible = false;
  LblGame.Visible = true;
  LblGame.Caption = "";
  ShowCommands(false);
  MatiGo = static_cast<std::int16_t>(LstMati[0].ListIndex);
  TripDays = ClampInt16(std::abs(MatiNow - MatiGo));
  TripDay = 0;
  TimDay.SetEnabled(true);
}

void Fom::HearRumours() {
  if (Int(platform_.Rnd() * 100) < LvLuck) {
    LblGame.Caption = "たいした噂は耳に入ってこない・・・";
    return;
  }
  std::int32_t cost = Int(platform_.Rnd() * 1000);
  AddMoney(ClampInt16(-cost));
  if (gameOver_) return;  // the price was the courier's last strength
  std::string name = MakeFairyName(kNameLength);
  AddTown(name, static_cast<std::int16_t>(Int(platform_.Rnd() * kAttributeCount)));
  LblGame.Caption = "街の噂を聞きつけた！" + CStr(cost) + "星粒をあげたよ！\r\n";
  FileNo = Files.FreeFile();
  std::string file = DataDir[1] + DataFileName(RumourFile(Int(platform_.Rnd() * kRumourFiles)));
  // The town is heard of even when its rumour file cannot be read; the
  // player is told which file that was.
  if (Files.OpenForInput(FileNo, file) != TextFileError::None) {
    platform_.ReportFailure("噂のファイル「" + Relative(file) + "」を読めませんでした。");
  }
  while (!Files.AtEnd(FileNo)) {
    SayLine = Files.LineInput(FileNo);
    LblGame.Caption += "\r\n" + SayLine;
  }
  Files.Close(FileNo);
  LblGame.Caption += "\r\n\r\n" + name + "に行けるようになった！";
}

}  // namespace kiravel
