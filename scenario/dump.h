// The dump: every control with the properties of its kind, and the window's
// variables, each under its name.
#pragma once

#include <string_view>

#include "scenario/json.h"
#include "core/fom.h"

namespace kiravel::scenario {

class Dumper {
 public:
  explicit Dumper(Fom& fom) : fom_(fom) {}

  // A control id ("Com(3)", "fom") or a variable name ("IraiTbl").
  bool Knows(std::string_view name) const;
  // Writes the member NAME: VALUE into the open object.
  void Write(JsonWriter& json, std::string_view name) const;
  // Every control in the order of the window description, then every variable.
  void WriteAll(JsonWriter& json) const;

 private:
  void WriteControl(JsonWriter& json, const Control& control) const;
  void WriteWindow(JsonWriter& json, const Window& window) const;

  Fom& fom_;
};

}  // namespace kiravel::scenario
