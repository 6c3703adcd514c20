// The window as a dump shows it: the game's own controls, each hidden or
// disabled as the dump says, so that the soak asks the game's one rule what
// a person could reach rather than judging the dump itself.
#pragma once

#include <nlohmann/json.hpp>

#include "core/fom.h"
#include "platform/scripted_platform.h"

namespace kiravel::soak {

class ShownWindow {
 public:
  ShownWindow();
  // The window with every control of the dump (the object under "dump") set
  // visible and enabled as dumped. A control the dump leaves out keeps what
  // it had.
  Fom& As(const nlohmann::json& dump);

 private:
  ScriptedPlatform platform_;
  Fom fom_;
};

}  // namespace kiravel::soak
