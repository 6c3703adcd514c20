// The window plays a scenario (kiravel --play FILE): it carries out the
// file's commands once it is open, in the runner's language
// with the runner's meanings, through the window's own delivery of events
// (clicks, selections, typing, the menu, timer ticks). `wait MS` lets the
// real window run for MS ms; `resize H` sizes the window to an outer height
// of H twips on the real screen; `close` closes it as the player would and
// ends the scenario. What only a screen has: `shot NAME` saves the window
// as NAME.png into the shots folder (kiravel --shots DIR).
// Message boxes and the popup menu are answered from the scenario, as the
// runner answers them, and saved as box-N.png and menu-N.png. Dumps and
// refused commands are printed as the runner prints them.
#pragma once

#include <string>

#include "app/kiravel/game_window.h"
#include "app/kiravel/qt_platform.h"
#include "core/fom.h"

namespace kiravel::qt {

// False when the scenario cannot be read.
bool PlayScenario(Fom& fom, GameWindow& window, QtPlatform& platform, const std::string& file,
                  const std::string& shotDir);

}  // namespace kiravel::qt
