// Qt's own words in the window (the buttons of its message boxes, the
// context menus of text boxes) in Japanese, as the rest of the game.
#pragma once

namespace kiravel::qt {

// Loads Qt's Japanese translation into the running application, whatever
// the desktop's language; false when it is not installed.
bool SpeakJapanese();

}  // namespace kiravel::qt
