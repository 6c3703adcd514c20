// The story scene player. A scene is a script of text lines and a few
// commands; the player keeps its place in SayLine, SayState, SayBuf and the
// open script, and moves on one step per click on the text or tick of TimSay.
#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>

#include "core/fom.h"
#include "events/script_format.h"
#include "platform/data_folder.h"

namespace kiravel {

namespace {

constexpr std::string_view kPageEnd = "▼";
constexpr std::string_view kLineEnd = "▽";

// A "--" line's count as Val reads it; a negative count asks for nothing.
std::int64_t StepCount(const std::string& line) {
  return std::max<std::int64_t>(0, CLng(Val(CommandArgument(ScriptCommand::Steps, line))));
}

}  // namespace

void Fom::StartEvent(const std::string& name) {
  ShowCommands(false);
  ComSkep.Visible = true;
  Lbl.Visible = true;
  Lbl.Caption.clear();
  LblBak.Visible = true;
  LblBak.Caption.clear();
  LblGame.Visible = false;
  PicBar.Visible = false;
  TimBtl.SetEnabled(false);
  TimDay.SetEnabled(false);
  PicBtl.Visible = false;
  SayState = 1;
  if (!OpenScript(name)) {
    LeaveUnplayableScene(name);
    return;
  }
  Lbl_Click();
}

// Opens the scene's script and reads its first line. A scene that was cut
// short is closed first, so its file is not left open behind the new one.
bool Fom::OpenScript(const std::string& name) {
  CloseScript();
  ++scriptRun_;
  const std::string path = DataDir[1] + DataFileName(name);
  FileNo = Files.FreeFile();
  if (Files.OpenForInput(FileNo, path) != TextFileError::None) {
    platform_.ReportFailure("シナリオ「" + Relative(path) + "」を開けません。");
    return false;
  }
  ScriptFile = Relative(path);
  endingOpen_ = gameOver_;
  ReadAhead();
  return true;
}

// Back to where the scene would have returned, had it been played.
void Fom::LeaveUnplayableScene(const std::string& name) {
  if (EndsTheGame(name) || LstMati[0].ListCount() == 0) {
    Form_Activate();
    return;
  }
  EnterTown();
}

void Fom::ReadAhead() {
  // The end of the file reads as the scene's end.
  SayLine = Files.AtEnd(FileNo) ? std::string(KeywordOf(ScriptCommand::SceneEnd)) : Files.LineInput(FileNo);
}

void Fom::PlayScript() {
  // Every nested step ("--" counts, new pages, pictures, empty lines) comes
  // last in the step that asks for it, so counting the steps still owed
  // plays them in the order running each inside the other would, without a
  // long script growing the stack. Steps owed to a scene that has ended or
  // been replaced are dropped.
  const std::uint64_t run = scriptRun_;
  std::int64_t owed = 1;
  while (owed > 0 && run == scriptRun_ && ScriptOpen()) {
    --owed;
    owed += PlayScriptStep();
  }
}

std::int64_t Fom::PlayScriptStep() {
  const std::string line = SayLine;
  const int lineNumber = Files.LinesRead(FileNo);
  ReadAhead();
  const ScriptCommand command = CommandOf(line);
  switch (command) {
    case ScriptCommand::SceneEnd:
      CloseScript();
      EnterTown();
      return 0;
    case ScriptCommand::Steps:
      return StepCount(line);
    case ScriptCommand::StoryEnd:
      CloseScript();
      CallActivate();
      return 0;
    case ScriptCommand::BonusPage:
      WriteBonusPage(CommandArgument(command, line), ScriptFile + " " + CStr(lineNumber) + "行目：");
      StartClosingScene(lineNumber);
      return 0;
    case ScriptCommand::NewPage:
      Lbl.Caption.clear();
      LblBak.Caption.clear();
      SayState = 0;
      return 1;
    case ScriptCommand::Picture:
      ShowScriptPicture(CommandArgument(command, line), lineNumber);
      return 1;
    case ScriptCommand::Text:
      return ShowTextLine(line);
  }
  return 0;
}

std::int64_t Fom::ShowTextLine(std::string line) {
  line = Replace(line, kNameMark, TxtName.Text);
  std::string previous;
  if (SayBuf != kPageEnd) {
    previous = Lbl.Caption;
    if (SayBuf == kLineEnd && !previous.empty()) previous = Left(previous, Len(previous) - 1);
  }
  if (EndsPage(SayLine) || SayState >= 5) {
    SayBuf = kPageEnd;
    TimSay.SetEnabled(false);
    SayState = 0;
  } else {
    SayBuf = TimSay.Interval() != 0 ? "" : kLineEnd;
  }
  ++SayState;
  Lbl.Caption = previous + "\r\n" + line + SayBuf;
  LblBak.Caption = Lbl.Caption;
  return line.empty() ? 1 : 0;
}

void Fom::ShowScriptPicture(const std::string& name, int line) {
  // Scene pictures come from the picture folder and nowhere else.
  if (!IsSafeNamePart(name)) {
    platform_.ReportFailure(ScriptFile + " " + CStr(line) + "行目：絵の名前「" + name +
                            "」は使えません。");
    return;
  }
  ShowTtlPicture(name);
}

// The story's last scene. One whose first step reaches ">html" again would
// start itself over for ever, so that is stopped at the second time.
void Fom::StartClosingScene(int line) {
  const std::string from = ScriptFile;
  CloseScript();
  if (closingSceneStarting_) {
    platform_.ReportFailure(from + " " + CStr(line) +
                            "行目：「>html」で場面「end」が始めからくり返されます。");
    CallActivate();
    return;
  }
  closingSceneStarting_ = true;
  StartEvent(kClosingScene);
  closingSceneStarting_ = false;
}

void Fom::CloseScript() {
  Files.Close(FileNo);
  ScriptFile.clear();
  missingPictureBoxes_ = 0;
  if (endingOpen_) gameOver_ = false;
  endingOpen_ = false;
}

bool Fom::ScriptOpen() const { return !ScriptFile.empty() && Files.IsOpen(FileNo); }

void Fom::Lbl_Click() {
  PlayScript();
  TimSay.SetEnabled(true);
}

void Fom::TimSay_Timer() {
  if (WaitsForClick(SayLine)) return;
  PlayScript();
}

void Fom::Pic_Click() {
  if (Lbl.Visible) {
    Lbl_Click();
    return;
  }
  if (platform_.MsgBox("初期化しますか？", MsgBoxButtons::YesNo) == MsgBoxAnswer::Yes) {
    Form_Activate();
  }
}

void Fom::LblGame_Click() { Pic_Click(); }

void Fom::CallActivate() { Form_Activate(); }

}  // namespace kiravel
