// The window as it is created: every control with its container, texts and
// first state. The layout gives them their places and colours later.
#include <array>
#include <charconv>
#include <functional>
#include <string_view>

#include "core/fom.h"
#include "core/text_speeds.h"
#include "platform/cp932.h"

namespace kiravel {

namespace {

constexpr const char* kStoryFont = "ＭＳ Ｐゴシック";

// The courier's name is written into the save file in CP932 and read back
// line by line, so a line break or a character CP932 cannot hold would
// break the save.
bool NameCharacterAccepted(char32_t c) {
  if (c < 0x20 || (c >= 0x7F && c <= 0x9F)) return false;
  return Cp932CanEncode(c);
}

template <class T>
T& In(T& control, Control& container) {
  control.Container = &container;
  return control;
}

CommandButton& Button(CommandButton& button, Control& container, const char* caption,
                      const char* toolTip) {
  In(button, container);
  button.Caption = caption;
  button.ToolTipText = toolTip;
  return button;
}

Label& TextLabel(Label& label, Control& container, Alignment align, bool opaque,
                 const char* caption) {
  In(label, container);
  label.Align = align;
  label.Opaque = opaque;
  label.Caption = caption;
  return label;
}

void StoryFont(PlacedControl& control) {
  control.FontName = kStoryFont;
  control.FontBold = true;
}

// A panel of the description; the layout takes the border off most of them.
PictureBox& Panel(PictureBox& panel, Control& container, bool visible, bool border) {
  In(panel, container);
  panel.Visible = visible;
  panel.Border = border;
  return panel;
}

void DescribeStartPanel(Fom& f) {
  Panel(f.PicStt, f.fom, true, true);
  const std::array<const char*, 3> levels{"LV EASY", "LV HARD", "Load Start"};
  for (std::int16_t i = 0; i < 3; ++i) {
    In(f.ComStt.Add(i), f.PicStt).Caption = levels[static_cast<std::size_t>(i)];
  }
}

void DescribeCommands(Fom& f) {
  struct Command {
    const char* caption;
    const char* toolTip;
  };
  const std::array<Command, 5> commands{{
      {"森に行く（何かの予感・・・）", "イベントが発生しています"},
      {"森に行く", "妖精を見つけに行きます。３０００星粒ぐらい必要です"},
      {"街に行く", "噂を聞いて、違う街を見つけます。１０００星粒ぐらいかかります"},
      {"酒場に行く", "依頼の解決や引き受けをします。休むと星粒がかかります"},
      {"旅をする", "街を選んで旅に出ます"},
  }};
  for (std::int16_t i = 0; i < 5; ++i) {
    const Command& command = commands[static_cast<std::size_t>(i)];
    Button(f.Com.Add(i), f.fom, command.caption, command.toolTip);
  }
  Button(f.ComSkep, f.fom, "Skep", "");
}

void DescribeCourierAndMoney(Fom& f) {
  In(f.TxtName, f.fom);
  f.TxtName.Text = "ミンヤ";
  f.TxtName.MaxLength = Fom::kLongestCourierName;
  f.TxtName.Accepts = NameCharacterAccepted;
  f.TxtName.ToolTipText = "主人公の名前（変更可能）";
  f.TxtName.Border = true;
  StoryFont(TextLabel(f.LblDay, f.fom, Alignment::Center, true, "Label1"));
  TextLabel(f.LblMati, f.fom, Alignment::Center, true, "Label1");
  for (std::int16_t i = 0; i < 2; ++i) {
    TextLabel(f.LblLstK.Add(i), f.fom, Alignment::Left, false, "").Border = true;
  }
}

// Only item 0 of each family is seen; the others carry the entries' data.
void DescribeListFamily(ControlArray<ListBox>& family, int count, Control& window,
                        const char* toolTip) {
  for (std::int16_t i = 0; i < count; ++i) {
    ListBox& list = In(family.Add(i), window);
    list.Visible = i == 0;
    if (i == 0) list.ToolTipText = toolTip;
  }
}

void DescribeLists(Fom& f) {
  DescribeListFamily(f.LstYou, 2, f.fom, "見つけた妖精です");
  DescribeListFamily(f.LstMati, 2, f.fom, "見つけた街です");
  DescribeListFamily(f.LstSigoto, kJobColumns, f.fom, "引き受けた依頼です");
}

void DescribeStatusPanel(Fom& f) {
  Panel(f.PicStr, f.fom, true, true).ToolTipText = "ステータスです";
  TextLabel(f.LblStr.Add(0), f.PicStr, Alignment::Right, true, "Label1");
  In(f.ShpStr.Add(0), f.PicStr);
  // The loading buffer takes the size of each picture; a border would
  // shrink its drawing area below the picture's pixels.
  Panel(f.E, f.fom, false, false);
}

void DescribePicturePanel(Fom& f) {
  Panel(f.Pic, f.fom, true, true);
  StoryFont(TextLabel(f.Lbl, f.Pic, Alignment::Center, false, "Lbl"));
  StoryFont(TextLabel(f.LblBak, f.Pic, Alignment::Center, false, "Label1"));
  TextLabel(f.LblGame, f.Pic, Alignment::Left, false, "LblGame");
}

void DescribeTavernBar(Fom& f) {
  Panel(f.PicBar, f.Pic, false, true);
  Button(f.ComIrai, f.PicBar, "依頼登録", "依頼を引き受けます");
  Button(f.ComHp, f.PicBar, "休む", "休んで体力を回復します。１０００星粒かかります。");
  Button(f.MenuCom, f.PicBar, "MenuCom", "メニューを表示します");
  In(f.LstIrai, f.PicBar);
}

void DescribeBattlePanel(Fom& f) {
  Panel(f.PicBtl, f.Pic, false, true);
  Panel(f.PicBtlGrf, f.PicBtl, true, false);
  In(f.TxtBtl, f.PicBtl);
  f.TxtBtl.Text = "Text1";
  f.TxtBtl.MultiLine = true;
  f.TxtBtl.VerticalScrollBar = true;
  f.TxtBtl.Border = true;
  Button(f.ComBtl, f.PicBtl, "笛を吹く", "魔物を追っ払わなくちゃ！");
  Panel(f.PicBtlStr, f.PicBtl, true, true);
  TextLabel(f.LblBtl.Add(0), f.PicBtlStr, Alignment::Right, true, "");
  In(f.ShpBtl.Add(0), f.PicBtlStr);
}

void DescribeTimers(Fom& f) {
  In(f.TimBtl, f.PicBtl).SetInterval(1000);
  f.TimBtl.SetEnabled(false);
  In(f.TimSay, f.Pic).SetInterval(0);
  f.TimSay.SetEnabled(true);
  In(f.TimDay, f.fom).SetInterval(100);
  f.TimDay.SetEnabled(false);
  In(f.BgmTim, f.fom).SetInterval(1);
  f.BgmTim.SetEnabled(true);
}

MenuItem& MenuEntry(MenuItem& item, MenuItem& parent, const char* caption) {
  In(item, parent).Caption = caption;
  parent.Children.push_back(&item);
  return item;
}

// The top item stays hidden so the window has no menu bar; the menu button
// opens it as a popup.
void DescribeMenu(Fom& f) {
  In(f.menu, f.fom).Caption = "menu";
  f.menu.Visible = false;
  MenuEntry(f.menu_tim, f.menu, "文章");
  for (std::size_t i = 0; i < kTextSpeedNames.size(); ++i) {
    MenuEntry(f.menu_tim_Click.Add(static_cast<std::int16_t>(i)), f.menu_tim, kTextSpeedNames[i]);
  }
  MenuEntry(f.menu_sis, f.menu, "システム");
  MenuEntry(f.menu_sis_c.Add(0), f.menu_sis, "SAVE");
  MenuEntry(f.menu_sis_c.Add(1), f.menu_sis, "LOAD");
  MenuEntry(f.menu_ver, f.menu, "バージョン");
}

// One row per control or control array of the window, in the order of the
// window description. Every list of the controls (the dump, the front ends'
// bindings, FindControl) walks this one table.
using ControlVisit = std::function<void(Control&)>;
struct ControlEntry {
  const std::string& (*name)(Fom& f);
  void (*each)(Fom& f, const ControlVisit& visit);
  // A single control answers index -1, an array its items.
  Control* (*item)(Fom& f, int index);
};

template <auto Member>
constexpr ControlEntry Single() {
  return {[](Fom& f) -> const std::string& { return (f.*Member).Name; },
          [](Fom& f, const ControlVisit& visit) { visit(f.*Member); },
          [](Fom& f, int index) -> Control* { return index < 0 ? &(f.*Member) : nullptr; }};
}

template <auto Member>
constexpr ControlEntry Family() {
  return {[](Fom& f) -> const std::string& { return (f.*Member).Name(); },
          [](Fom& f, const ControlVisit& visit) {
            (f.*Member).ForEach([&](Control& item) { visit(item); });
          },
          [](Fom& f, int index) -> Control* {
            return index >= 0 && (f.*Member).Exists(index) ? &(f.*Member)[index] : nullptr;
          }};
}

constexpr ControlEntry kControlTable[] = {
    Single<&Fom::fom>(),       Single<&Fom::PicStt>(),    Family<&Fom::ComStt>(),
    Family<&Fom::Com>(),       Single<&Fom::ComSkep>(),   Single<&Fom::TxtName>(),
    Single<&Fom::LblDay>(),    Single<&Fom::LblMati>(),   Family<&Fom::LblLstK>(),
    Family<&Fom::LstYou>(),    Family<&Fom::LstMati>(),   Family<&Fom::LstSigoto>(),
    Single<&Fom::PicStr>(),    Family<&Fom::LblStr>(),    Family<&Fom::ShpStr>(),
    Single<&Fom::E>(),         Single<&Fom::Pic>(),       Single<&Fom::Lbl>(),
    Single<&Fom::LblBak>(),    Single<&Fom::LblGame>(),   Single<&Fom::PicBar>(),
    Single<&Fom::ComIrai>(),   Single<&Fom::ComHp>(),     Single<&Fom::MenuCom>(),
    Single<&Fom::LstIrai>(),   Single<&Fom::PicBtl>(),    Single<&Fom::PicBtlGrf>(),
    Single<&Fom::TxtBtl>(),    Single<&Fom::ComBtl>(),    Single<&Fom::PicBtlStr>(),
    Family<&Fom::LblBtl>(),    Family<&Fom::ShpBtl>(),    Single<&Fom::TimBtl>(),
    Single<&Fom::TimSay>(),    Single<&Fom::TimDay>(),    Single<&Fom::BgmTim>(),
    Single<&Fom::menu>(),      Single<&Fom::menu_tim>(),  Family<&Fom::menu_tim_Click>(),
    Single<&Fom::menu_sis>(),  Family<&Fom::menu_sis_c>(), Single<&Fom::menu_ver>(),
};

}  // namespace

void Fom::CreateControls() {
  fom.Caption = "Kiravel";
  fom.WidthTwips = 11625;
  fom.HeightTwips = 8610;
  DescribeStartPanel(*this);
  DescribeCommands(*this);
  DescribeCourierAndMoney(*this);
  DescribeLists(*this);
  DescribeStatusPanel(*this);
  DescribePicturePanel(*this);
  DescribeTavernBar(*this);
  DescribeBattlePanel(*this);
  DescribeTimers(*this);
  DescribeMenu(*this);
}

void Fom::LoadControlItems() {
  for (std::int16_t i = 1; i < kStatusCount; ++i) {
    ShpStr.Load(i);
    LblStr.Load(i);
  }
  ShpBtl.Load(1);
  LblBtl.Load(1);
}

std::vector<Control*> Fom::AllControls() {
  std::vector<Control*> controls;
  for (const ControlEntry& entry : kControlTable) {
    entry.each(*this, [&](Control& control) { controls.push_back(&control); });
  }
  return controls;
}

// "Com(3)" or "Lbl": the family or control of that name, then the item; the
// id it gives back must be the one asked for ("Com(03)" is no control).
Control* Fom::FindControl(const std::string& id) {
  const std::size_t open = id.find('(');
  const std::string_view name = std::string_view(id).substr(0, open);
  int index = -1;
  if (open != std::string::npos) {
    const char* first = id.data() + open + 1;
    const char* last = id.data() + id.size() - 1;
    if (id.back() != ')' || std::from_chars(first, last, index).ptr != last || index < 0) {
      return nullptr;
    }
  }
  for (const ControlEntry& entry : kControlTable) {
    if (entry.name(*this) != name) continue;
    Control* control = entry.item(*this, index);
    return control != nullptr && control->Id() == id ? control : nullptr;
  }
  return nullptr;
}

std::vector<Control*> Fom::FocusOrder() {
  std::vector<Control*> order{&Pic, &PicBar, &MenuCom, &ComIrai, &LstIrai};
  for (int i = 0; i <= 4; ++i) order.push_back(&Com[i]);
  order.insert(order.end(), {&LstMati[0], &LstMati[1]});
  for (int i = 0; i <= 4; ++i) order.push_back(&LstSigoto[i]);
  order.insert(order.end(), {&PicStr, &E, &PicBtl, &PicBtlStr, &ComBtl, &TxtName, &LstYou[0],
                             &LstYou[1], &LstSigoto[5], &ComHp, &TxtBtl, &ComSkep, &PicStt,
                             &ComStt[0], &ComStt[1], &ComStt[2], &PicBtlGrf});
  return order;
}

}  // namespace kiravel
