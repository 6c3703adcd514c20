// How the game looks before any control is drawn: its fonts, its widget
// style and its icon.
#pragma once

#include <QIcon>

namespace kiravel::qt {

// The story font the window asks for by name is drawn with IPA P Gothic;
// every other control gets a font that has the Japanese characters too.
// Buttons take their face colours from the game only in the Fusion style.
void SetUpAppearance();

// The window's own icon, drawn from the game's icon design.
QIcon GameIcon();

}  // namespace kiravel::qt
