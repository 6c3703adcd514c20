#include <algorithm>

#include "core/fom.h"
#include "platform/data_folder.h"

namespace kiravel {

namespace {

// What a level sets: the nine difficulty values, the opening strength of
// 火, 草, 水 and 体力, and whether saving and loading are offered.
struct Level {
  std::int16_t mon, atk, luck, ive, you, pen, bonus, rest, day;
  std::int16_t openingStatus;
  bool systemMenu;
};

constexpr Level kHard{3, 30, 50, 70, 30, 2, 10, 1000, 100, 50, true};
constexpr Level kEasy{1, 10, 70, 50, 50, 1, 30, 500, 50, 100, false};

// "Load Start" plays on the hard level as well; only the first button is easy.
constexpr std::int16_t kEasyButton = 0;
constexpr std::int16_t kLoadButton = 2;

constexpr int kOpeningTowns = 3;
constexpr std::int32_t kOpeningMoney = 10000;

}  // namespace

void Fom::Form_Load() {
  AppPath = programFolder_;
  if (AppPath.empty() || AppPath.back() != '/') AppPath += '/';
  DataDir[0] = AppPath + PictureFolderPath();
  DataDir[1] = AppPath + TextFolderPath();
  WritePath = writableFolder_.empty() ? AppPath : writableFolder_;
  if (WritePath.back() != '/') WritePath += '/';
  OpenMusic(AppPath + kMusicFile);
  MusicOn = true;
  PlayMusic();
  platform_.Randomize();
  std::copy(kStatusNames.begin(), kStatusNames.end(), StrName.begin());
  LoadControlItems();
  StrMax = kStatusMaxima;
  CargoName = {"食料", "手紙", "宝物", "武器", "歩人"};
  LblBtl[0].Caption = "魔物";
  LblBtl[1].Caption = "自分";
}

void Fom::Form_Activate() { PicStt.Visible = true; }

void Fom::ComStt_Click(std::int16_t Index) {
  ChooseLevel(Index);
  if (Index == kLoadButton) {
    PicStt.Visible = false;
    if (!LoadGame()) PicStt.Visible = true;  // no game to play: the start panel stays
    return;
  }
  NewGame();
}

void Fom::ChooseLevel(std::int16_t Index) {
  // A start button ends an ending still on the screen, and the scene with it.
  CloseScript();
  gameOver_ = false;
  const Level& level = Index == kEasyButton ? kEasy : kHard;
  LvMon = level.mon;
  LvAtk = level.atk;
  LvLuck = level.luck;
  LvIve = level.ive;
  LvYou = level.you;
  LvPen = level.pen;
  LvBonus = level.bonus;
  LvRest = level.rest;
  LvDay = level.day;
  for (std::int16_t i = 0; i <= StatusIndex(Status::Stamina); ++i) {
    StrVal[i] = level.openingStatus;
    AddStatus(i, 0);
  }
  menu_sis.Enabled = level.systemMenu;
}

void Fom::NewGame() {
  SetOutNewGame();
  StartEvent(kOpeningScene);
}

// An author's look at one scene: the game as "LV EASY" would begin it, with
// the scene in place of the opening.
void Fom::PreviewScene(const std::string& name) {
  ChooseLevel(kEasyButton);
  SetOutNewGame();
  StartEvent(name);
}

void Fom::SetOutNewGame() {
  LstYou.ForEach([](ListBox& list) { list.Clear(); });
  LstMati.ForEach([](ListBox& list) { list.Clear(); });
  LstSigoto.ForEach([](ListBox& list) { list.Clear(); });
  for (int town = 0; town < kOpeningTowns; ++town) {
    // The name is drawn before the town's attribute, the fairy's attribute
    // before its name.
    std::string name = MakeFairyName(kNameLength);
    AddTown(name, static_cast<std::int16_t>(Int(platform_.Rnd() * kAttributeCount)));
    AddFairy(static_cast<std::int16_t>(Int(platform_.Rnd() * kAttributeCount)));
  }
  MatiNow = ClampInt16(Int(platform_.Rnd() * LstMati[0].ListCount()));
  LblMati.Caption = LstMati[0].List(MatiNow);
  Money = kOpeningMoney;
  AddMoney(0);
  ComSkep.Enabled = true;
  StrVal[Status::Days] = 1;
  AddStatus(Status::Days, 0);
  IveCount = {};
  PicStt.Visible = false;
  keptRecord_ = GameRecord();
}

void Fom::Form_QueryUnload(std::int16_t& Cancel) {
  Cancel = 0;
  // Nothing to lose: the start panel is up, the game is over, or nothing
  // has happened since the game was started, saved or loaded.
  if (PicStt.Visible || gameOver_ || GameRecord().Lines == keptRecord_.Lines) return;
  if (platform_.MsgBox("旅の途中です。ゲームを終了しますか？", MsgBoxButtons::YesNo) !=
      MsgBoxAnswer::Yes) {
    Cancel = 1;
  }
}

void Fom::Form_Unload() {
  Files.Close(FileNo);
  CloseMusic();
}

}  // namespace kiravel
