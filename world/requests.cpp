#include "core/fom.h"

#include <cstdlib>
#include <limits>

namespace kiravel {

void Fom::VisitBar() {
  LblGame.Caption = "酒場・・・・";
  // From the last job down, so that a removal leaves the jobs still to be
  // settled in their places.
  for (int j = LstSigoto[JobColumn::Cargo].ListCount() - 1; j >= 0; --j) {
    SettleJob(static_cast<std::int16_t>(j));
    if (gameOver_) return;  // a penalty cost the courier's last strength
  }
  LstIrai.Clear();
  // A request must go to another town; with no other town known the tavern
  // has nothing to offer.
  bool otherTown = LstMati[1].ListCount() >= 2;
  for (std::int16_t k = 0; k < kRequestOffers; ++k) {
    if (otherTown) {
      MakeOffer(k);
    } else {
      IraiTbl[k].fill(Variant{});
    }
  }
  PicBar.Visible = true;
}

void Fom::SettleJob(std::int16_t j) {
  std::int16_t reward = CInt(Val(LstSigoto[JobColumn::Reward].List(j)));
  if (Val(LstSigoto[JobColumn::To].List(j)) == MatiNow) {
    LblGame.Caption += "\r\n依頼解決ました！" + LstSigoto[JobColumn::Cargo].List(j);
    AddMoney(reward);
    std::int16_t gain = static_cast<std::int16_t>(Int(platform_.Rnd() * 30) + 1);
    AddStatus(CInt(Val(LstSigoto[JobColumn::Attribute].List(j))), gain);
    RemoveJob(j);
    return;
  }
  if (Val(LstSigoto[JobColumn::Due].List(j)) >= StrVal[Status::Days]) return;
  LblGame.Caption += "\r\n依頼失敗しました！" + LstSigoto[JobColumn::Cargo].List(j);
  AddMoney(ClampInt16(-static_cast<std::int64_t>(reward) * LvPen));
  RemoveJob(j);
}

void Fom::MakeOffer(std::int16_t k) {
  std::int32_t towns = LstMati[1].ListCount();
  std::int16_t destination = 0;
  do {
    destination = ClampInt16(Int(platform_.Rnd() * towns));
  } while (destination == MatiNow);
  std::int32_t cargo = Int(platform_.Rnd() * 5);
  std::int64_t distance = std::abs(static_cast<std::int64_t>(destination) - MatiNow);
  // Clamped here, so that the offer shows what the delivery will pay.
  std::int16_t reward = ClampInt16(100 * (distance + cargo));
  std::int32_t extra = Int(platform_.Rnd() * LvBonus);
  std::int16_t due = ClampInt16(StrVal[Status::Days] + extra + distance);
  const std::string& attribute = LstMati[1].List(destination);
  IraiTbl[k] = {cargo, attribute, reward, MatiNow, destination, due};  // JobColumn order
  LstIrai.AddItem("物[" + CargoName[cargo] + "]　先[" + LstMati[0].List(destination) +
                  "]　\\" + CStr(reward) + "　〆" + CStr(due) + "日　↑" +
                  StrName[CInt(Val(attribute))]);
}

void Fom::ComIrai_Click() {
  if (LstIrai.Text().empty()) {
    platform_.MsgBox("依頼を選んで下さい", MsgBoxButtons::OK);
    return;
  }
  // A job's place in the list is its 16-bit number.
  if (LstSigoto[JobColumn::Cargo].ListCount() >= std::numeric_limits<std::int16_t>::max()) return;
  int s = LstIrai.ListIndex;
  for (int c = JobColumn::Attribute; c < kJobColumns; ++c) {
    LstSigoto[c].AddItem(VariantText(IraiTbl[s][c]));
  }
  LstSigoto[JobColumn::Cargo].AddItem(LstIrai.List(s));
  for (int r = s + 1; r < LstIrai.ListCount(); ++r) IraiTbl[r - 1] = IraiTbl[r];
  LstIrai.RemoveItem(s);
}

void Fom::RemoveJob(std::int16_t i) {
  LstSigoto.ForEach([i](ListBox& list) { list.RemoveItem(i); });
}

}  // namespace kiravel
