#include "core/fom.h"

namespace kiravel {

namespace {

// A fairy of the monster's own attribute strikes this many times as hard.
constexpr std::int32_t kSameAttributeFactor = 3;
// The monster's bar at full hit points.
constexpr double kFullBar = 100;

}  // namespace

void Fom::MonsterAppears() {
  BtlAttr = static_cast<std::int16_t>(Int(platform_.Rnd() * kAttributeCount));
  double stamina = StrVal[Status::Stamina];
  BtlPow = ClampInt16(Int(stamina / 2 * platform_.Rnd() + stamina / 5));
  // The stronger the courier is in the monster's attribute, the tougher it is.
  double strength = StrVal[BtlAttr];
  double r = platform_.Rnd();
  BtlHp = ClampInt16(static_cast<std::int64_t>(Int(3 * strength / 5)) +
                     Int(strength * r * LvMon) + 1);
  BtlHpMax = BtlHp;
  LblGame.Caption = StrName[BtlAttr] + "属性の魔物が出現した！";
  ShowMonPicture(CStr(BtlAttr));
  TxtBtl.Text = "";
  ShpBtl[1].SetWidth(kFullBar / BtlHpMax * strength);
  ShpBtl[0].SetWidth(kFullBar);
  PicBtlStr.Visible = true;
  TimDay.SetEnabled(false);
  TimBtl.SetEnabled(true);
  PicBtl.Visible = true;
  ComBtl.Caption = "笛を吹く";
}

void Fom::TimBtl_Timer() {
  LblGame.Caption = "魔物の攻撃！";
  AddStatus(BtlAttr, ClampInt16(-Int(platform_.Rnd() * LvAtk)));
  AddStatus(Status::Stamina, ClampInt16(-Int(platform_.Rnd() * BtlPow)));
}

void Fom::ComBtl_Click() {
  if (!PicBtlStr.Visible) {
    PicBtl.Visible = false;
    TimDay.SetEnabled(true);
    return;
  }
  TxtBtl.Text = "";
  // Every fairy answers or not on every blow of the flute, even once the
  // monster has fled.
  for (int i = 0; i < LstYou[0].ListCount(); ++i) {
    if (Int(platform_.Rnd() * 100) > LvLuck) continue;
    std::int32_t power = Int(platform_.Rnd() * 50) + 50;
    if (Val(LstYou[1].List(i)) == BtlAttr) power *= kSameAttributeFactor;
    TxtBtl.Text = LstYou[0].List(i) + "が来てくれた！" + CStr(power) + "アタック！\r\n" +
                  TxtBtl.Text;
    HitMonster(static_cast<std::int16_t>(power));
  }
  LblGame.Caption = "笛を吹いた！";
}

void Fom::HitMonster(std::int16_t power) {
  BtlHp = ClampInt16(static_cast<std::int64_t>(BtlHp) - power);
  if (BtlHp < StrVal[BtlAttr]) {
    MonsterDriven();
    return;
  }
  ShpBtl[0].SetWidth(kFullBar / BtlHpMax * BtlHp);
}

void Fom::MonsterDriven() {
  ComBtl.Caption = "魔物を追っ払った！";
  TimBtl.SetEnabled(false);
  PicBtlStr.Visible = false;
}

}  // namespace kiravel
