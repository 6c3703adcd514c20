#include "app/kiravel-run/dump.h"

#include <array>
#include <cstdio>
#include <string>
#include <type_traits>
#include <variant>

namespace kiravel::run {

namespace {

// ---- Values of the window's variables ----

void WriteValue(JsonWriter& json, const std::string& text) { json.String(text); }

template <class T>
requires std::is_integral_v<T>
void WriteValue(JsonWriter& json, T value) {
  if constexpr (std::is_same_v<T, bool>) {
    json.Bool(value);
  } else {
    json.Integer(value);
  }
}

void WriteValue(JsonWriter& json, const Variant& cell) {
  std::visit(
      [&](const auto& value) {
        using T = std::decay_t<decltype(value)>;
        if constexpr (std::is_same_v<T, std::monostate>) {
          json.Null();
        } else {
          WriteValue(json, value);
        }
      },
      cell);
}

template <class T, std::size_t N>
void WriteValue(JsonWriter& json, const std::array<T, N>& values) {
  json.BeginArray();
  for (const T& value : values) WriteValue(json, value);
  json.EndArray();
}

template <auto Member>
void WriteMember(JsonWriter& json, const Fom& fom) {
  WriteValue(json, fom.*Member);
}

struct Variable {
  std::string_view name;
  void (*write)(JsonWriter& json, const Fom& fom);
};

// The window's variables in declaration order, the music flag, then the
// layout's values.
const std::array kVariables{
    Variable{"AppPath", &WriteMember<&Fom::AppPath>},
    Variable{"DataDir", &WriteMember<&Fom::DataDir>},
    Variable{"FileNo", &WriteMember<&Fom::FileNo>},
    Variable{"SayState", &WriteMember<&Fom::SayState>},
    Variable{"SayLine", &WriteMember<&Fom::SayLine>},
    Variable{"SayBuf", &WriteMember<&Fom::SayBuf>},
    Variable{"MatiNow", &WriteMember<&Fom::MatiNow>},
    Variable{"MatiGo", &WriteMember<&Fom::MatiGo>},
    Variable{"TripDays", &WriteMember<&Fom::TripDays>},
    Variable{"TripDay", &WriteMember<&Fom::TripDay>},
    Variable{"Money", &WriteMember<&Fom::Money>},
    Variable{"StrMax", &WriteMember<&Fom::StrMax>},
    Variable{"StrVal", &WriteMember<&Fom::StrVal>},
    Variable{"StrName", &WriteMember<&Fom::StrName>},
    Variable{"IraiTbl", &WriteMember<&Fom::IraiTbl>},
    Variable{"CargoName", &WriteMember<&Fom::CargoName>},
    Variable{"BtlAttr", &WriteMember<&Fom::BtlAttr>},
    Variable{"BtlPow", &WriteMember<&Fom::BtlPow>},
    Variable{"BtlHp", &WriteMember<&Fom::BtlHp>},
    Variable{"BtlHpMax", &WriteMember<&Fom::BtlHpMax>},
    Variable{"IveCount", &WriteMember<&Fom::IveCount>},
    Variable{"IveNo", &WriteMember<&Fom::IveNo>},
    Variable{"LvMon", &WriteMember<&Fom::LvMon>},
    Variable{"LvAtk", &WriteMember<&Fom::LvAtk>},
    Variable{"LvLuck", &WriteMember<&Fom::LvLuck>},
    Variable{"LvIve", &WriteMember<&Fom::LvIve>},
    Variable{"LvYou", &WriteMember<&Fom::LvYou>},
    Variable{"LvPen", &WriteMember<&Fom::LvPen>},
    Variable{"LvBonus", &WriteMember<&Fom::LvBonus>},
    Variable{"LvRest", &WriteMember<&Fom::LvRest>},
    Variable{"LvDay", &WriteMember<&Fom::LvDay>},
    Variable{"MusicOn", &WriteMember<&Fom::MusicOn>},
    Variable{"BaseFontSize", &WriteMember<&Fom::BaseFontSize>},
    Variable{"SmallFontSize", &WriteMember<&Fom::SmallFontSize>},
};

const Variable* FindVariable(std::string_view name) {
  for (const Variable& variable : kVariables) {
    if (variable.name == name) return &variable;
  }
  return nullptr;
}

// ---- Properties of the controls ----

void WriteColour(JsonWriter& json, std::string_view key, Colour colour) {
  char text[8];
  std::snprintf(text, sizeof text, "#%02X%02X%02X", static_cast<unsigned>((colour >> 16) & 0xFF),
                static_cast<unsigned>((colour >> 8) & 0xFF), static_cast<unsigned>(colour & 0xFF));
  json.Key(key).String(text);
}

void WritePlace(JsonWriter& json, const PlacedControl& control) {
  json.Key("Left").Number(control.Left());
  json.Key("Top").Number(control.Top());
  json.Key("Width").Number(control.Width());
  json.Key("Height").Number(control.Height());
}

// A shape has no font and no text colour; its inside is its fill colour.
void WriteLook(JsonWriter& json, const PlacedControl& control) {
  WriteColour(json, "BackColor", control.BackColor);
  if (const auto* shape = dynamic_cast<const Shape*>(&control)) {
    WriteColour(json, "FillColor", shape->FillColor);
    return;
  }
  WriteColour(json, "ForeColor", control.ForeColor);
  json.Key("FontSize").Integer(control.FontSize);
}

void WriteScale(JsonWriter& json, const PictureBox& panel) {
  json.Key("ScaleLeft").Number(panel.ScaleLeft());
  json.Key("ScaleTop").Number(panel.ScaleTop());
  json.Key("ScaleWidth").Number(panel.ScaleWidth());
  json.Key("ScaleHeight").Number(panel.ScaleHeight());
}

void WriteTexts(JsonWriter& json, const Control& control) {
  switch (control.Kind) {
    case ControlKind::CommandButton: {
      const auto& button = static_cast<const CommandButton&>(control);
      json.Key("Caption").String(button.Caption).Key("ToolTipText").String(button.ToolTipText);
      return;
    }
    case ControlKind::Label: {
      const auto& label = static_cast<const Label&>(control);
      json.Key("Caption").String(label.Caption).Key("ToolTipText").String(label.ToolTipText);
      return;
    }
    case ControlKind::TextBox: {
      const auto& box = static_cast<const TextBox&>(control);
      json.Key("Text").String(box.Text).Key("ToolTipText").String(box.ToolTipText);
      return;
    }
    case ControlKind::ListBox: {
      const auto& list = static_cast<const ListBox&>(control);
      json.Key("List").BeginArray();
      for (const std::string& item : list.Items()) json.String(item);
      json.EndArray();
      json.Key("ListIndex").Integer(list.ListIndex);
      json.Key("ToolTipText").String(list.ToolTipText);
      return;
    }
    case ControlKind::PictureBox: {
      const auto& panel = static_cast<const PictureBox&>(control);
      json.Key("ToolTipText").String(panel.ToolTipText);
      json.Key("Picture");
      panel.Picture ? json.String(panel.PictureFile) : json.Null();
      return;
    }
    case ControlKind::Timer:
      json.Key("Interval").Integer(static_cast<const Timer&>(control).Interval());
      return;
    case ControlKind::MenuItem:
      json.Key("Caption").String(static_cast<const MenuItem&>(control).Caption);
      return;
    case ControlKind::Window:
    case ControlKind::Shape:
      return;
  }
}

}  // namespace

bool Dumper::Knows(std::string_view name) const {
  return FindVariable(name) != nullptr || fom_.FindControl(std::string(name)) != nullptr;
}

void Dumper::Write(JsonWriter& json, std::string_view name) const {
  if (const Variable* variable = FindVariable(name)) {
    json.Key(name);
    variable->write(json, fom_);
    return;
  }
  if (const Control* control = fom_.FindControl(std::string(name))) {
    json.Key(name);
    WriteControl(json, *control);
  }
}

void Dumper::WriteAll(JsonWriter& json) const {
  for (const Control* control : fom_.AllControls()) {
    json.Key(control->Id());
    WriteControl(json, *control);
  }
  for (const Variable& variable : kVariables) {
    json.Key(variable.name);
    variable.write(json, fom_);
  }
}

void Dumper::WriteControl(JsonWriter& json, const Control& control) const {
  if (control.Kind == ControlKind::Window) {
    WriteWindow(json, static_cast<const Window&>(control));
    return;
  }
  json.BeginObject();
  json.Key("Visible").Bool(control.Visible);
  json.Key("Shown").Bool(control.Shown());
  json.Key("Enabled").Bool(control.Enabled);
  WriteTexts(json, control);
  if (const auto* placed = dynamic_cast<const PlacedControl*>(&control)) {
    WritePlace(json, *placed);
    WriteLook(json, *placed);
  }
  if (control.Kind == ControlKind::PictureBox) {
    WriteScale(json, static_cast<const PictureBox&>(control));
  }
  json.EndObject();
}

void Dumper::WriteWindow(JsonWriter& json, const Window& window) const {
  json.BeginObject();
  json.Key("Visible").Bool(window.Visible);
  json.Key("Shown").Bool(window.Shown());
  json.Key("Enabled").Bool(window.Enabled);
  json.Key("Caption").String(window.Caption);
  json.Key("Left").Integer(window.WindowLeft);
  json.Key("Top").Integer(window.WindowTop);
  json.Key("Width").Integer(window.WindowWidth);
  json.Key("Height").Integer(window.WindowHeight);
  WriteColour(json, "BackColor", window.BackColor);
  WriteScale(json, window);
  json.EndObject();
}

}  // namespace kiravel::run
