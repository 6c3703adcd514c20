// Fom: the game's one window. Its variables are the whole state of a running
// game, its controls are the model the front ends draw, and its procedures
// are the game. The definitions are split by subsystem:
//   core/     start-up and new game, money and status with the day clock,
//             the command panel and the town view
//   world/    towns and travel, fairies, requests
//   battle/   monsters on the road
//   events/   the story script player, pictures, the bonus page
//   save/     saving and loading
//   ui/       the window description, its layout and the popup menu
//   sound/    the background music
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <unordered_set>
#include <vector>

#include "core/conversions.h"
#include "core/job.h"
#include "core/save_set.h"
#include "core/status.h"
#include "platform/open_folder.h"
#include "platform/platform.h"
#include "platform/textfile.h"
#include "ui/controls.h"

namespace kiravel {

class Fom {
 public:
  // programFolder is the folder that holds the game's data; the game reads
  // from there. It writes its save and bonus pages into writableFolder, which
  // is programFolder itself when none is given.
  Fom(Platform& platform, std::string programFolder, std::string writableFolder = "");
  Fom(const Fom&) = delete;
  Fom& operator=(const Fom&) = delete;

  // ---- Window events (core/startup.cpp, ui/layout.cpp) ----
  void Form_Load();
  void Form_Activate();
  void Form_Resize();
  // Asked before the window closes; Cancel = 1 keeps it open.
  void Form_QueryUnload(std::int16_t& Cancel);
  void Form_Unload();

  // ---- Start panel and new game (core/startup.cpp) ----
  void ComStt_Click(std::int16_t Index);
  void NewGame();
  // kiravel --scene: a fresh easy game that plays the scene at once. Never
  // reached in play.
  void PreviewScene(const std::string& name);
  // The name box takes at most this many characters of the courier's name.
  static constexpr int kLongestCourierName = 8;

  // ---- Money, status, day clock (core/status.cpp) ----
  void AddMoney(std::int16_t amount);
  // index is a status number; an attribute is the number of its status.
  void AddStatus(std::int16_t index, std::int16_t amount);
  void AddStatus(Status status, std::int16_t amount) { AddStatus(StatusIndex(status), amount); }
  void TimDay_Timer();

  // ---- Command panel and town view (core/commands.cpp) ----
  void EnterTown();
  void CheckEvents();
  void ShowCommands(bool visible);
  void Com_Click(std::int16_t Index);
  void ComSkep_Click();
  void ComHp_Click();

  // ---- Towns and travel (world/towns.cpp) ----
  void AddTown(const std::string& name, std::int16_t attribute);
  void ChooseTown();
  void HearRumours();

  // ---- Fairies (world/fairies.cpp) ----
  // Towns and fairies alike are named with this many kana.
  static constexpr std::int16_t kNameLength = 3;
  std::string MakeFairyName(std::int16_t n);
  void AddFairy(std::int16_t attribute);
  void VisitForest();

  // ---- Requests (world/requests.cpp) ----
  void VisitBar();
  void ComIrai_Click();
  void RemoveJob(std::int16_t i);

  // ---- Battle (battle/battle.cpp) ----
  void MonsterAppears();
  void TimBtl_Timer();
  void ComBtl_Click();
  void HitMonster(std::int16_t power);
  void MonsterDriven();

  // ---- Story scripts (events/player.cpp) ----
  void StartEvent(const std::string& name);
  void PlayScript();
  void Lbl_Click();
  void TimSay_Timer();
  void Pic_Click();
  void LblGame_Click();
  void CallActivate();

  // ---- Bonus page (events/bonus_page.cpp) ----
  // where names the script line that asks for the page (its file and
  // "12行目："), for the messages about it.
  void WriteBonusPage(const std::string& argument, const std::string& where = "");

  // ---- Save and load (save/) ----
  void menu_sis_c_Click(std::int16_t Index);
  void SaveGame();
  // False when the save could not be read; the game is then as it was.
  bool LoadGame();

  // ---- Popup menu (ui/menu.cpp) ----
  void MenuCom_Click();
  void menu_tim_Click_Click(std::int16_t Index);
  void menu_ver_Click();

  // ---- Pictures (events/pictures.cpp) ----
  // Each returns false when the picture could not be loaded; the panel is
  // then left cleared to its background.
  bool ShowTtlPicture(const std::string& name);
  bool ShowMonPicture(const std::string& name);

  // ---- Background music (sound/music.cpp) ----
  void OpenMusic(const std::string& path);
  void PlayMusic();
  void CloseMusic();
  void BgmTim_Timer();
  // Set once at start-up; the music plays and loops only while it is on.
  bool MusicOn = false;

  // ---- Window variables, in declaration order ----
  std::string AppPath;
  std::array<std::string, 2> DataDir;
  std::int16_t FileNo = 0;
  std::uint8_t SayState = 0;
  std::string SayLine;
  std::string SayBuf;
  std::int16_t MatiNow = 0;
  std::int16_t MatiGo = 0;
  std::int16_t TripDays = 0;
  std::int16_t TripDay = 0;
  std::int32_t Money = 0;
  PerStatus<std::int16_t> StrMax{};
  PerStatus<std::int16_t> StrVal{};
  PerStatus<std::string> StrName;
  std::array<std::array<Variant, kJobColumns>, kRequestOffers> IraiTbl;
  std::array<std::string, 5> CargoName;
  std::int16_t BtlAttr = 0;
  std::int16_t BtlPow = 0;
  std::int16_t BtlHp = 0;
  std::int16_t BtlHpMax = 0;
  PerStoryLine IveCount{};
  std::int16_t IveNo = 0;
  std::int16_t LvMon = 0;
  std::int16_t LvAtk = 0;
  std::int16_t LvLuck = 0;
  std::int16_t LvIve = 0;
  std::int16_t LvYou = 0;
  std::int16_t LvPen = 0;
  std::int16_t LvBonus = 0;
  std::int16_t LvRest = 0;
  std::int16_t LvDay = 0;

  // Layout values of the last layout run (ui/layout.cpp).
  std::int16_t BaseFontSize = 0;
  std::int16_t SmallFontSize = 0;

  // Every variable above under its name, as the runner's dump gives them:
  // the window's variables in declaration order, the music flag, then the
  // layout's values. A variable declared above is named here as well.
  template <class Visit>
  void VisitVariables(Visit&& visit) const {
    visit("AppPath", AppPath);
    visit("DataDir", DataDir);
    visit("FileNo", FileNo);
    visit("SayState", SayState);
    visit("SayLine", SayLine);
    visit("SayBuf", SayBuf);
    visit("MatiNow", MatiNow);
    visit("MatiGo", MatiGo);
    visit("TripDays", TripDays);
    visit("TripDay", TripDay);
    visit("Money", Money);
    visit("StrMax", StrMax);
    visit("StrVal", StrVal);
    visit("StrName", StrName);
    visit("IraiTbl", IraiTbl);
    visit("CargoName", CargoName);
    visit("BtlAttr", BtlAttr);
    visit("BtlPow", BtlPow);
    visit("BtlHp", BtlHp);
    visit("BtlHpMax", BtlHpMax);
    visit("IveCount", IveCount);
    visit("IveNo", IveNo);
    visit("LvMon", LvMon);
    visit("LvAtk", LvAtk);
    visit("LvLuck", LvLuck);
    visit("LvIve", LvIve);
    visit("LvYou", LvYou);
    visit("LvPen", LvPen);
    visit("LvBonus", LvBonus);
    visit("LvRest", LvRest);
    visit("LvDay", LvDay);
    visit("MusicOn", MusicOn);
    visit("BaseFontSize", BaseFontSize);
    visit("SmallFontSize", SmallFontSize);
  }

  // ---- Controls, as the window description creates them ----
  Window fom{"fom"};
  PictureBox PicStt{"PicStt"};
  ControlArray<CommandButton> ComStt{"ComStt"};
  ControlArray<CommandButton> Com{"Com"};
  CommandButton ComSkep{"ComSkep"};
  TextBox TxtName{"TxtName"};
  Label LblDay{"LblDay"};
  Label LblMati{"LblMati"};
  ControlArray<Label> LblLstK{"LblLstK"};
  ControlArray<ListBox> LstYou{"LstYou"};
  ControlArray<ListBox> LstMati{"LstMati"};
  ControlArray<ListBox> LstSigoto{"LstSigoto"};
  PictureBox PicStr{"PicStr"};
  ControlArray<Label> LblStr{"LblStr"};
  ControlArray<Shape> ShpStr{"ShpStr"};
  PictureBox E{"E"};
  PictureBox Pic{"Pic"};
  Label Lbl{"Lbl"};
  Label LblBak{"LblBak"};
  Label LblGame{"LblGame"};
  PictureBox PicBar{"PicBar"};
  CommandButton ComIrai{"ComIrai"};
  CommandButton ComHp{"ComHp"};
  CommandButton MenuCom{"MenuCom"};
  ListBox LstIrai{"LstIrai"};
  PictureBox PicBtl{"PicBtl"};
  PictureBox PicBtlGrf{"PicBtlGrf"};
  TextBox TxtBtl{"TxtBtl"};
  CommandButton ComBtl{"ComBtl"};
  PictureBox PicBtlStr{"PicBtlStr"};
  ControlArray<Label> LblBtl{"LblBtl"};
  ControlArray<Shape> ShpBtl{"ShpBtl"};
  Timer TimBtl{"TimBtl"};
  Timer TimSay{"TimSay"};
  Timer TimDay{"TimDay"};
  Timer BgmTim{"BgmTim"};
  MenuItem menu{"menu"};
  MenuItem menu_tim{"menu_tim"};
  ControlArray<MenuItem> menu_tim_Click{"menu_tim_Click"};
  MenuItem menu_sis{"menu_sis"};
  ControlArray<MenuItem> menu_sis_c{"menu_sis_c"};
  MenuItem menu_ver{"menu_ver"};

  // Every control, in the order of the window description (array items in
  // index order, including those created at start-up).
  std::vector<Control*> AllControls();
  // The control with this id ("Com(3)", "Lbl"), or null.
  Control* FindControl(const std::string& id);
  // Keyboard focus order; hidden or disabled controls are skipped by the
  // front end.
  std::vector<Control*> FocusOrder();

  // Told of every picture request: the panel, the file asked for (relative
  // to the program folder, with "/") and whether it could be shown.
  std::function<void(const PictureBox& panel, const std::string& file, bool ok)>
      OnPictureRequest;

  // The open text files (the running script or a rumour file).
  FileTable Files;
  // The script being played, relative to the program folder, for messages
  // that name it; empty while no scene is open.
  std::string ScriptFile;
  // Where the save (in its save folder) and the bonus pages are written, ending in
  // "/": AppPath when the player may write there, otherwise the player's own
  // folder, laid out the same way.
  std::string WritePath;

 private:
  // core/startup.cpp: what a start button sets before the game begins, and
  // a new game's towns, fairies, purse and counts before its first scene.
  void ChooseLevel(std::int16_t Index);
  void SetOutNewGame();

  // core/status.cpp. Starts a bad ending. From then until its script closes
  // (">end", "tugi", the end of its file, a start button chosen over it), a
  // procedure that is still running stops at once (gameOver_).
  void EndGame(const std::string& ending);

  // core/commands.cpp: a visit from town that takes the day it is made on.
  void SpendDayOn(const char* picture, void (Fom::*visit)());

  // ui/window_description.cpp
  void CreateControls();
  // Items of the control arrays created at start-up as copies of item 0.
  void LoadControlItems();

  // world/requests.cpp: pays or fails accepted job j at the tavern; fills
  // row k of the tavern's offers.
  void SettleJob(std::int16_t j);
  void MakeOffer(std::int16_t k);

  // events/pictures.cpp: clears, loads and paints one panel with the
  // picture file of that name.
  bool PaintPicture(PictureBox& target, const std::string& name);

  // events/player.cpp. A step returns how many further steps it asks for.
  bool OpenScript(const std::string& name);
  void LeaveUnplayableScene(const std::string& name);
  void ReadAhead();
  std::int64_t PlayScriptStep();
  std::int64_t ShowTextLine(std::string line);
  void ShowScriptPicture(const std::string& name, int line);
  void StartClosingScene(int line);
  void CloseScript();
  bool ScriptOpen() const;
  std::uint64_t scriptRun_ = 0;  // counts script starts
  bool closingSceneStarting_ = false;

  // events/bonus_page.cpp: appends the lines of the text file of the piece,
  // each name mark replaced by *name when name is given.
  void CopyPagePiece(const std::string& piece, const std::string* name, const std::string& where,
                     std::vector<std::string>& page);
  void CopyPagePictures(int pageFolder, const std::string& key, const std::string& where);

  // ui/layout.cpp
  bool FitWindow();
  void LayOut();

  // A file of the program folder as the player is told of it, below the
  // folder.
  std::string Relative(const std::string& path) const;
  // events/pictures.cpp. Failed pictures already reported, so a missing one
  // is not reported again on every repaint; and how many boxes about them
  // the scene being played has shown.
  void ReportMissingPicture(const std::string& file);
  std::unordered_set<std::string> reportedPictures_;
  int missingPictureBoxes_ = 0;

  // save/: the save folder inside WritePath.
  FolderPlace SaveFolder() const;

  // save/save_game.cpp: the four files a save would write now.
  SaveSet GameRecord();
  // The game as it was last started, saved or loaded.
  SaveSet keptRecord_;

  // A bad ending has begun: the game is over until its script closes.
  bool gameOver_ = false;
  // The script open is the ending's: closing it ends the game's being over.
  bool endingOpen_ = false;

  Platform& platform_;
  std::string programFolder_;
  std::string writableFolder_;
};

}  // namespace kiravel
