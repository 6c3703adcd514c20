// The story scripts, line by line, read with the player's own command table:
// what each command needs, and what the player would trip over.
#pragma once

#include <string>
#include <vector>

#include "check/findings.h"
#include "check/media_check.h"

namespace kiravel::check {

// Bad endings and the closing scene must end the game; the others return to
// the town view at their end.
enum class SceneKind { Opening, Story, GameEnding, ClosingScene };

struct ScriptFacts {
  int bonusPageLine = 0;  // the line of ">html", 0 when the scene has none
};

struct ScriptContext {
  std::string folder;  // ending in "/"
  PictureShelf& pictures;
  Findings& findings;
};

ScriptFacts CheckScript(const std::string& relative, const std::vector<std::string>& lines,
                        SceneKind kind, ScriptContext& context);

}  // namespace kiravel::check
