#include "core/fom.h"
#include "core/story_lines.h"
#include "core/town_commands.h"
#include "platform/data_folder.h"

#include <limits>

namespace kiravel {

namespace {

constexpr std::int16_t kTavernPrice = 200;

}  // namespace

void Fom::EnterTown() {
  ShowTtlPicture(kTownPicture);
  ComSkep.Visible = false;
  ShowCommands(true);
  Lbl.Visible = false;
  LblBak.Visible = false;
  LblGame.Visible = true;
  LblGame.Caption = "ここは" + LstMati[0].List(MatiNow) + "の街・・・";
  TimSay.SetEnabled(false);
  PicBar.Visible = false;
  LblMati.Caption = LstMati[0].List(MatiNow);
  CheckEvents();
}

void Fom::CheckEvents() {
  IveNo = WaitingLine(CLng(Val(LstMati[1].List(MatiNow))), IveCount);
  Com[kEvent].Visible = false;
  if (IveNo == kNoStoryWaiting) return;
  std::int64_t needed = static_cast<std::int64_t>(IveCount[IveNo]) * LvIve;
  if (StrVal[IveNo] < needed) return;
  // A story line whose scripts have run out offers nothing more.
  if (!FileExists(DataDir[1] + DataFileName(StorySceneName(IveNo, IveCount[IveNo])))) return;
  Com[kEvent].Visible = true;
}

void Fom::ShowCommands(bool visible) {
  Com.ForEach([visible](CommandButton& command) { command.Visible = visible; });
}

void Fom::Com_Click(std::int16_t Index) {
  EnterTown();
  switch (Index) {
    case kEvent:
      if (IveNo == kNoStoryWaiting) return;  // no story waits here: nothing to play
      AddStatus(Status::Days, 1);
      if (gameOver_) return;
      StartEvent(StorySceneName(IveNo, IveCount[IveNo]));
      if (IveCount[IveNo] < std::numeric_limits<std::int16_t>::max()) ++IveCount[IveNo];
      return;
    case kForest:
      SpendDayOn(kRoadPicture, &Fom::VisitForest);
      return;
    case kRumours:
      SpendDayOn(kTavernPicture, &Fom::HearRumours);
      return;
    case kTavern:
      ShowTtlPicture(kTavernPicture);
      VisitBar();
      if (gameOver_) return;
      AddMoney(-kTavernPrice);
      return;
    case kTravel:
      ShowTtlPicture(kRoadPicture);
      ChooseTown();
      return;
    default:
      return;
  }
}

// The day passes after the visit, unless the visit has ended the game.
void Fom::SpendDayOn(const char* picture, void (Fom::*visit)()) {
  ShowTtlPicture(picture);
  (this->*visit)();
  if (!gameOver_) AddStatus(Status::Days, 1);
}

void Fom::ComSkep_Click() {
  CloseScript();
  EnterTown();
}

void Fom::ComHp_Click() {
  AddMoney(ClampInt16(-static_cast<std::int32_t>(LvRest)));
  std::int16_t gain = static_cast<std::int16_t>(Int(platform_.Rnd() * 100) + 100);
  AddStatus(Status::Stamina, gain);
}

}  // namespace kiravel
