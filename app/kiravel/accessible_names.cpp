#include "app/kiravel/accessible_names.h"

#include <algorithm>

namespace kiravel::qt {

namespace {

// The caption as one line: the skip button breaks "イベント" and "スキップ".
std::string OneLine(std::string caption) {
  for (std::size_t at; (at = caption.find("\r\n")) != std::string::npos;) caption.erase(at, 2);
  caption.erase(std::remove(caption.begin(), caption.end(), '\n'), caption.end());
  return caption;
}

bool Is(const Control& control, const Control& named) { return &control == &named; }

std::string PictureNaming(const PictureBox& panel, const std::string& what,
                          const PictureDescriptions& pictures) {
  if (panel.PictureFile.empty()) return what;
  return what + "：" + pictures.Naming(panel.PictureFile);
}

// The start buttons' captions are English; their names say what each starts.
std::string StartButtonName(std::int16_t index) {
  switch (index) {
    case 0: return "イージーモードで始める（LV EASY）";
    case 1: return "ハードモードで始める（LV HARD）";
    default: return "セーブデーターから始める（Load Start）";
  }
}

std::string PanelName(const Fom& fom, const Control& control, const PictureDescriptions& pictures) {
  if (Is(control, fom.Pic)) return PictureNaming(fom.Pic, "絵", pictures);
  if (Is(control, fom.PicBtlGrf)) return PictureNaming(fom.PicBtlGrf, "魔物の絵", pictures);
  if (Is(control, fom.PicStt)) return "スタート画面";
  if (Is(control, fom.PicBar)) return "酒場";
  if (Is(control, fom.PicBtl)) return "魔物との戦い";
  if (Is(control, fom.PicBtlStr)) return "魔物と自分の力";
  if (Is(control, fom.PicStr)) return "ステータス";
  return "";
}

std::string ListName(const Fom& fom, const Control& control) {
  if (Is(control, fom.LstMati[0])) return "街";
  if (Is(control, fom.LstYou[0])) return "妖精";
  if (Is(control, fom.LstSigoto[0])) return "仕事";
  if (Is(control, fom.LstIrai)) return "依頼";
  return "";
}

std::string MeterName(const Fom& fom, const Control& control) {
  if (control.Name == fom.ShpStr.Name()) return fom.StrName[control.Index];
  if (Is(control, fom.ShpBtl[0])) return "魔物の体力";
  return "自分の" + fom.StrName[fom.BtlAttr];
}

}  // namespace

std::string AccessibleName(const Fom& fom, const Control& control,
                           const PictureDescriptions& pictures) {
  switch (control.Kind) {
    case ControlKind::CommandButton:
      if (control.Name == fom.ComStt.Name()) return StartButtonName(control.Index);
      if (Is(control, fom.MenuCom)) return "メニュー";
      return OneLine(static_cast<const CommandButton&>(control).Caption);
    case ControlKind::PictureBox:
      return PanelName(fom, control, pictures);
    case ControlKind::ListBox:
      return ListName(fom, control);
    case ControlKind::TextBox:
      return Is(control, fom.TxtName) ? "主人公の名前" : "戦いの様子";
    case ControlKind::Shape:
      return IsMeter(fom, control) ? MeterName(fom, control) : "";
    default:
      return "";
  }
}

bool OnlyDrawn(const Fom& fom, const Control& control) {
  if (Is(control, fom.LblBak) || Is(control, fom.E)) return true;
  if (control.Name == fom.LblLstK.Name() || control.Name == fom.LblStr.Name() ||
      control.Name == fom.LblBtl.Name()) {
    return true;
  }
  // The hidden lists of a family hold the entries' further fields.
  return control.Kind == ControlKind::ListBox && control.Index > 0;
}

bool ShowsPictures(const Fom& fom, const Control& control) {
  return Is(control, fom.Pic) || Is(control, fom.PicBtlGrf);
}

bool IsMeter(const Fom& fom, const Control& control) {
  return control.Name == fom.ShpStr.Name() || control.Name == fom.ShpBtl.Name();
}

MeterReading ReadMeter(const Fom& fom, const Control& control) {
  if (control.Name == fom.ShpStr.Name()) {
    return {fom.StrVal[control.Index], fom.StrMax[control.Index]};
  }
  if (Is(control, fom.ShpBtl[0])) return {std::max<int>(0, fom.BtlHp), fom.BtlHpMax};
  return {fom.StrVal[fom.BtlAttr], fom.StrMax[fom.BtlAttr]};
}

}  // namespace kiravel::qt
