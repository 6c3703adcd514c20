// What a person in front of the window could click or choose: the runner
// refuses the rest, so a scenario cannot do what play cannot.
#pragma once

#include <string>

#include "core/fom.h"

namespace kiravel::scenario {

// Why the control cannot be clicked, or "" when it can: it or one of its
// containers is hidden or disabled, or the start panel covers it.
std::string WhyOutOfReach(const Control& control, Fom& fom);

// Why the control cannot be clicked, or "" when it can: it has no click
// handler, or it is out of reach.
std::string WhyNotClickable(const Control& control, Fom& fom);

// Why the popup menu cannot be opened, or "" when it can: its button is out
// of reach.
std::string WhyMenuClosed(Fom& fom);

// Why the popup menu item cannot be chosen, or "" when it can: it or one of
// the submenus above it is disabled.
std::string WhyMenuItemDisabled(const MenuItem& item, Fom& fom);

}  // namespace kiravel::scenario
