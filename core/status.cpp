#include "core/fom.h"
#include "platform/data_folder.h"

namespace kiravel {

namespace {

// A monster bars the road when the day's draw is at most this (31 in 100).
constexpr std::int32_t kMonsterChance = 30;

}  // namespace

void Fom::AddMoney(std::int16_t amount) {
  std::int64_t purse = static_cast<std::int64_t>(Money) + amount;
  if (purse > kMostMoney) {
    Money = kMostMoney;
  } else if (purse < 0) {
    // An empty purse is paid for with the whole price in stamina.
    AddStatus(Status::Stamina, amount);
  } else {
    Money = static_cast<std::int32_t>(purse);
  }
  LblDay.Caption = CStr(Money) + "星粒";
}

void Fom::AddStatus(std::int16_t index, std::int16_t amount) {
  // A job read back from a save names the status it raises; a bad number
  // must not reach past the five statuses.
  if (index < 0 || index >= kStatusCount) return;
  std::int32_t value = StrVal[index] + amount;
  if (value > StrMax[index]) {
    StrVal[index] = StrMax[index];
    if (index == StatusIndex(Status::Days)) {
      EndGame(kYearRunOutScene);
      return;
    }
  } else if (value < 0) {
    StrVal[index] = 0;
    if (index == StatusIndex(Status::Stamina)) {
      EndGame(kStaminaRunOutScene);
      return;
    }
  } else {
    StrVal[index] = static_cast<std::int16_t>(value);
  }
  LblStr[index].Caption = StrName[index] + "[" + CStr(StrVal[index]) + "]";
  ShpStr[index].SetWidth(100.0 / StrMax[index] * StrVal[index]);
}

// The bad ending plays to its end: whatever was under way when it began
// shows nothing more over it, and a second ending never replaces the first
// (on the year's last day an empty purse would otherwise start "badend_hp"
// over "badend_day"). The game is over only while the ending's script is
// open: one that returns to the town leaves a game that goes on.
void Fom::EndGame(const std::string& ending) {
  if (gameOver_) return;
  gameOver_ = true;
  TimDay.SetEnabled(false);
  ComSkep.Enabled = false;
  StartEvent(ending);
}

void Fom::TimDay_Timer() {
  TripDay = ClampInt16(TripDay + 1);
  AddStatus(Status::Days, 1);
  AddMoney(ClampInt16(-Int(platform_.Rnd() * LvDay)));
  if (gameOver_) return;  // the year or the courier's strength ran out
  if (TripDay > TripDays) {
    TimDay.SetEnabled(false);
    MatiNow = MatiGo;
    EnterTown();
    return;
  }
  if (Int(platform_.Rnd() * 100) <= kMonsterChance) MonsterAppears();
}

}  // namespace kiravel
