// A hidden hook for looking at the game on a real screen. With
// KIRAVEL_SCREENSHOT_SCENARIO=FILE the window plays the file's commands once
// it is open, through its widgets as a player would, and saves screenshots
// into KIRAVEL_SCREENSHOT_DIR (the current folder when unset). One command a
// line; "#" starts a comment:
//   click NAME       press the control's widget (skipped while it is hidden)
//   select NAME K    choose item K of a list
//   type NAME TEXT   type TEXT into a text box over what it holds
//   wait MS          let the game run for MS milliseconds
//   shot FILE        save the window as FILE.png
//   resize W H       size the window to W × H pixels
//   close            close the window
// A message box that comes up is saved as box-N.png and answered with its
// default button; a popup menu is saved as menu-N.png and dismissed.
#pragma once

#include "app/kiravel/game_window.h"
#include "core/fom.h"

namespace kiravel::qt {

void PlayScenarioFromEnvironment(Fom& fom, GameWindow& window);

}  // namespace kiravel::qt
