// How the window opens, for every front end alike: Form_Load, the window's
// first showing (its first Form_Resize) and Form_Activate, each one event of
// the game, and then one box about whatever the opening missed. A front end
// supplies only how it runs an event, shows itself and shows the box.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "core/fom.h"

namespace kiravel::scenario {

class Opening {
 public:
  // Runs one event of the game to its end.
  virtual void RunEvent(const std::function<void()>& event) = 0;
  // Puts the window on the screen for the first time: the game lays itself
  // out for its first size.
  virtual void ShowFirst() = 0;
  // The failures the game met while opening that the player has not been
  // shown yet.
  virtual std::vector<std::string> UntoldFailures() = 0;
  // Shows the one box about the opening.
  virtual void Tell(const std::string& notice) = 0;

 protected:
  ~Opening() = default;
};

void OpenWindow(Fom& fom, Opening& front);

// The text of the opening's box, or "" when there is nothing to tell. The
// missing data is told with its full paths, so a player who unpacked only
// the program knows where the data belongs; it explains every failure, so
// those are told only when nothing is missing.
std::string OpeningNotice(const std::vector<std::string>& missing,
                          const std::vector<std::string>& failures);

}  // namespace kiravel::scenario
