// Form_Resize: keeps the window at 4:3 in the middle of the screen and lays
// every control out on a grid of 40 × 30 units, so the whole game scales
// with the window's height.
#include <array>
#include <vector>

#include "core/fom.h"

namespace kiravel {

namespace {

constexpr Colour kWindowGrey = Rgb(160, 160, 160);
constexpr Colour kBarGrey = Rgb(150, 150, 150);
constexpr Colour kBattleGrey = Rgb(130, 130, 130);
constexpr Colour kMessageGrey = Rgb(170, 170, 170);
constexpr Colour kMoneyGrey = Rgb(120, 120, 120);
constexpr Colour kWhite = Rgb(255, 255, 255);
constexpr Colour kBlack = Rgb(0, 0, 0);

// Fire, grass, water, stamina, days.
constexpr std::array<Colour, kStatusCount> kStatusBarColours{
    Rgb(255, 0, 255), Rgb(0, 255, 0), Rgb(0, 255, 255), Rgb(255, 255, 0), Rgb(255, 255, 255)};

// Lower than this the window is only fitted: there is no room for the game.
constexpr std::int32_t kLowestLaidOutHeight = 800;

// Places the items 0 .. count - 1 that exist: the status and battle bars
// are created by Form_Load, which a window may not have run yet.
template <class T, class F>
void ForItems(ControlArray<T>& family, int count, F&& place) {
  for (int i = 0; i < count; ++i) {
    if (family.Exists(i)) place(family[i], i);
  }
}

// A panel with its own coordinate system over its client area.
void PlacePanel(PictureBox& panel, double left, double top, double width, double height,
                Colour background) {
  panel.Move(left, top, width, height);
  panel.BackColor = background;
}

void Grid(PictureBox& panel, double left, double top, double right, double bottom) {
  panel.SetScale(left, top, right - left, bottom - top);
}

void PlaceButton(CommandButton& button, double left, double top, double width, double height,
                 Colour face, int fontSize) {
  button.Move(left, top, width, height);
  button.BackColor = face;
  button.FontSize = fontSize;
}

void PlaceList(ListBox& list, double left, double top, double width, double height,
               Colour background, int fontSize) {
  list.Move(left, top, width, height);
  list.BackColor = background;
  list.FontSize = fontSize;
}

// An opaque label with its own background, as the money, town and status
// displays are.
void PlaceTile(Label& label, double left, double top, double width, double height,
               Colour background, Colour text, int fontSize) {
  label.Move(left, top, width, height);
  label.Opaque = true;
  label.BackColor = background;
  label.ForeColor = text;
  label.FontSize = fontSize;
}

void PlaceStartPanel(Fom& f) {
  PlacePanel(f.PicStt, 0, 0, 40, 30, kWindowGrey);
  Grid(f.PicStt, 0, 0, 40, 30);
  f.PicStt.Border = false;
  const std::array<const char*, 3> toolTips{
      "イージーモードで始めます、セーブなどの機能は使えませんが、エンディングにペナルティはありません",
      "ハードモードで始めます、全ての機能が使えるかわり、難しいです",
      "セーブデーターのある場所から始めます"};
  ForItems(f.ComStt, 3, [&](CommandButton& button, int i) {
    PlaceButton(button, 5, 5 + i, 5, 1, kWindowGrey, f.BaseFontSize);
    button.ToolTipText = toolTips[static_cast<std::size_t>(i)];
  });
}

// The shadow lies behind the story text and the message line, whatever
// order the labels were made in.
void SendBehindLabelsOf(Label& label, const std::vector<Control*>& controls) {
  for (Control* control : controls) {
    auto* other = dynamic_cast<Label*>(control);
    if (other == nullptr || other == &label || other->Container != label.Container) continue;
    if (label.ZOrder >= other->ZOrder) label.ZOrder = other->ZOrder - 1;
  }
}

void PlaceStoryText(Label& label, double offset, Colour text, int fontSize) {
  label.Move(offset, offset, 30, 20);
  label.ForeColor = text;
  label.FontSize = fontSize;
}

void PlacePicturePanel(Fom& f) {
  PlacePanel(f.Pic, 2, 0, 24, 20, kWindowGrey);
  f.Pic.Border = false;
  Grid(f.Pic, 0, 0, 30, 20);
  PlaceStoryText(f.Lbl, 0, kBlack, f.BaseFontSize);
  PlaceStoryText(f.LblBak, 0.03, kWhite, f.BaseFontSize);
  SendBehindLabelsOf(f.LblBak, f.AllControls());
  PlaceStoryText(f.LblGame, 0, f.Lbl.ForeColor, f.SmallFontSize);
}

void PlaceTavernBar(Fom& f) {
  PlacePanel(f.PicBar, 5, 10, 20, 10, kBarGrey);
  f.PicBar.Border = false;
  Grid(f.PicBar, -0.2, -0.2, 3.2, 4.0);
  PlaceButton(f.ComIrai, 0, 0, 1, 1, kBarGrey, f.BaseFontSize);
  PlaceButton(f.ComHp, 1, 0, 1, 1, kBarGrey, f.BaseFontSize);
  f.ComHp.ToolTipText = "休んで体力を回復するよ、星屑がそれなりにかかるよ";
  PlaceButton(f.MenuCom, 2, 0, 1, 1, kBarGrey, f.BaseFontSize);
  PlaceList(f.LstIrai, 0, 1, 3, 3, kBarGrey, f.SmallFontSize);
  f.LstIrai.ToolTipText =
      "物：配達物／先：配達先／￥：報酬／〆：配達期日。これを過ぎるとペナルティ／↑：アップステータス";
}

void PlaceBattleBars(Fom& f) {
  PlacePanel(f.PicBtlStr, 0, 6, 10, 1, f.TxtBtl.BackColor);
  f.PicBtlStr.Border = false;
  // A full bar is 100 wide and runs past the visible 90.
  Grid(f.PicBtlStr, -10, 0, 90, 2);
  ForItems(f.ShpBtl, 2, [](Shape& bar, int i) {
    bar.Move(0, i, 10, 1);
    bar.Visible = true;
  });
  ForItems(f.LblBtl, 2, [&](Label& heading, int i) {
    PlaceTile(heading, -10, i, 10, 1, f.PicBtl.BackColor, f.TxtBtl.ForeColor, f.BaseFontSize);
    heading.Visible = true;
  });
  ForItems(f.ShpBtl, 2, [](Shape& bar, int) { bar.FillColor = kWhite; });
}

void PlaceBattlePanel(Fom& f) {
  PlacePanel(f.PicBtl, 2, 2, 26, 17, kBattleGrey);
  f.PicBtl.Border = false;
  Grid(f.PicBtl, -1, -1, 11, 10);
  f.PicBtlGrf.Move(2, -1, 6, 6);
  f.PicBtlGrf.Border = false;
  f.TxtBtl.Move(0, 7, 10, 3);
  f.TxtBtl.BackColor = kMessageGrey;
  f.TxtBtl.ForeColor = kBlack;
  f.TxtBtl.FontSize = f.SmallFontSize;
  f.TxtBtl.Border = false;
  PlaceBattleBars(f);
  PlaceButton(f.ComBtl, 0, 5, 10, 1, f.Pic.BackColor, f.BaseFontSize);
}

void PlaceCommandColumn(Fom& f) {
  ForItems(f.Com, 5, [&](CommandButton& button, int i) {
    PlaceButton(button, 30, 2.5 * i, 10, 2, f.PicBtl.BackColor, f.BaseFontSize);
  });
  PlaceButton(f.ComSkep, 30, 0.5, 10, 12, kBattleGrey, 2 * f.BaseFontSize);
  f.ComSkep.Caption = "イベント\r\nスキップ";
  f.ComSkep.ToolTipText = "イベントをスキップします";
  f.TxtName.Move(30, 13, 10, 1);
  f.TxtName.BackColor = f.Com[0].BackColor;
  f.TxtName.FontSize = f.SmallFontSize;
  PlaceTile(f.LblDay, 30, 15, 10, 2, kMoneyGrey, kWhite, f.BaseFontSize);
  f.LblDay.Border = false;
  f.LblDay.ToolTipText = "所持金";
  PlaceTile(f.LblMati, 30, 17, 10, 2, kBarGrey, f.LblDay.ForeColor, f.BaseFontSize);
  f.LblMati.Border = false;
  f.LblMati.ToolTipText = "現在位置";
}

void PlaceLists(Fom& f) {
  PlaceList(f.LstSigoto[0], 0, 20, 30, 5, kBarGrey, f.SmallFontSize);
  f.LstSigoto[0].ForeColor = f.LblMati.ForeColor;
  const std::array<const char*, 2> headings{"妖精▽", "街▽"};
  ForItems(f.LblLstK, 2, [&](Label& heading, int i) {
    heading.Move(30 + 5 * i, 19, 5, 1);
    heading.ForeColor = kBlack;
    heading.Caption = headings[static_cast<std::size_t>(i)];
  });
  PlaceList(f.LstYou[0], 30, 20, 5, 5, kBarGrey, f.SmallFontSize);
  f.LstYou[0].ForeColor = kWhite;
  PlaceList(f.LstMati[0], 35, 20, 5, 5, kBarGrey, f.SmallFontSize);
  f.LstMati[0].ForeColor = kWhite;
}

void PlaceStatusPanel(Fom& f) {
  // A status bar's width is its value in the panel's units; the value must
  // survive the panel changing size, so it is read before the move.
  PerStatus<double> values{};
  bool measured = f.PicStr.ClientWidthTwips() > 0;
  if (measured) {
    ForItems(f.ShpStr, kStatusCount,
             [&](Shape& bar, int i) { values[static_cast<std::size_t>(i)] = bar.Width(); });
  }
  PlacePanel(f.PicStr, 0, 25, 40, 5, kBlack);
  Grid(f.PicStr, -10, 0, 90, kStatusCount);
  ForItems(f.LblStr, kStatusCount, [&](Label& label, int i) {
    PlaceTile(label, -10, i, 10, 1, kBarGrey, f.LblMati.ForeColor, f.SmallFontSize);
    label.Visible = true;
    label.ToolTipText = f.StrName[static_cast<std::size_t>(i)];
  });
  ForItems(f.ShpStr, kStatusCount, [&](Shape& bar, int i) {
    bar.SetLeft(0);
    bar.SetTop(i);
    bar.SetHeight(1);
    if (measured) bar.SetWidth(values[static_cast<std::size_t>(i)]);
    bar.Visible = true;
  });
  ForItems(f.ShpStr, kStatusCount, [](Shape& bar, int i) {
    bar.FillColor = kStatusBarColours[static_cast<std::size_t>(i)];
  });
}

void MirrorWindowPlace(Window& window, const WindowPlace& place) {
  window.WindowLeft = place.Left;
  window.WindowTop = place.Top;
  window.WindowWidth = place.Width;
  window.WindowHeight = place.Height;
  window.WidthTwips = place.ClientWidth;
  window.HeightTwips = place.ClientHeight;
}

std::int32_t Centred(std::int32_t screen, std::int32_t window) {
  return CLng((static_cast<double>(screen) - window) / 2);
}

}  // namespace

void Fom::Form_Resize() {
  // A run forgives one error (a refusal while fitting, or a picture that
  // would not load) by laying out again; a second one ends the run.
  int errors = FitWindow() ? 0 : 1;
  MirrorWindowPlace(fom, platform_.Window());
  for (; errors < 2; ++errors) {
    if (platform_.Window().Height < kLowestLaidOutHeight) return;
    LayOut();
    if (ShowTtlPicture("") && ShowMonPicture("")) return;
  }
}

// The height is the master: the width follows it at 4:3, and the window is
// centred on the screen. A window that cannot be moved is left alone.
bool Fom::FitWindow() {
  std::int32_t eighth = CLng(platform_.Window().Height / 6.0);
  if (!platform_.SetWindowWidth(CLng(8.0 * eighth))) return false;
  ScreenSize screen = platform_.Screen();
  if (!platform_.SetWindowLeft(Centred(screen.Width, platform_.Window().Width))) return false;
  return platform_.SetWindowTop(Centred(screen.Height, platform_.Window().Height));
}

void Fom::LayOut() {
  fom.BackColor = kWindowGrey;
  fom.SetScale(0, 0, 40, 30);
  BaseFontSize = ClampInt16(platform_.Window().Height / 1000 + 3);
  SmallFontSize = ClampInt16(BaseFontSize * 8 / 10);
  PlaceStartPanel(*this);
  PlacePicturePanel(*this);
  PlaceTavernBar(*this);
  PlaceBattlePanel(*this);
  PlaceCommandColumn(*this);
  PlaceLists(*this);
  PlaceStatusPanel(*this);
}

}  // namespace kiravel
