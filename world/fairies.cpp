#include "core/fom.h"

#include <limits>

namespace kiravel {

namespace {

// The 46 kana from あ to ん, then the long-vowel mark, which a name never
// draws: it cannot stand for a sound of its own.
constexpr std::string_view kNameKana =
    "あいうえおかきくけこさしすせそたちつてとなにぬねのはひふへほまみむめもやゆよらりるれろわをんー";
constexpr int kDrawableKana = 46;

}  // namespace

std::string Fom::MakeFairyName(std::int16_t n) {
  std::string name;
  for (std::int16_t i = 0; i < n; ++i) {
    name += Mid(kNameKana, Int(platform_.Rnd() * kDrawableKana) + 1, 1);
  }
  return name;
}

void Fom::AddFairy(std::int16_t attribute) {
  // A fairy's place in the list is its 16-bit number; no further fairy could
  // be called.
  if (LstYou[0].ListCount() >= std::numeric_limits<std::int16_t>::max()) return;
  LstYou[0].AddItem("[" + StrName[attribute] + "] " + MakeFairyName(kNameLength));
  LstYou[1].AddItem(CStr(attribute));
}

void Fom::VisitForest() {
  if (Int(platform_.Rnd() * 100) > LvYou) {
    LblGame.Caption = "妖精はみつからない・・・";
    return;
  }
  std::int32_t price = Int(platform_.Rnd() * 3000);
  LblGame.Caption = "妖精と出会った！約束してくれた！" + CStr(price) + "だけ星粒をあげたよ";
  AddMoney(ClampInt16(-price));
  if (gameOver_) return;
  // A fairy of the forest belongs to the town it was found from.
  AddFairy(CInt(Val(LstMati[1].List(MatiNow))));
}

}  // namespace kiravel
