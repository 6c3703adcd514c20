#include "scenario/dump.h"

#include <array>
#include <cstdio>
#include <string>
#include <type_traits>
#include <variant>

namespace kiravel::scenario {

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

// Writes the variable NAME: VALUE; false when the window has none of that name.
bool WriteVariable(JsonWriter& json, const Fom& fom, std::string_view name) {
  bool found = false;
  fom.VisitVariables([&](std::string_view variable, const auto& value) {
    if (found || variable != name) return;
    json.Key(variable);
    WriteValue(json, value);
    found = true;
  });
  return found;
}

bool HasVariable(const Fom& fom, std::string_view name) {
  bool found = false;
  fom.VisitVariables([&](std::string_view variable, const auto&) { found = found || variable == name; });
  return found;
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
  return HasVariable(fom_, name) || fom_.FindControl(std::string(name)) != nullptr;
}

void Dumper::Write(JsonWriter& json, std::string_view name) const {
  if (WriteVariable(json, fom_, name)) return;
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
  fom_.VisitVariables([&](std::string_view name, const auto& value) {
    json.Key(name);
    WriteValue(json, value);
  });
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

}  // namespace kiravel::scenario
