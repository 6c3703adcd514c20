// The three story lines as the towns offer them: line k's scenes k0, k1, ...
// are asked for one after another, the first six in towns of attribute k,
// the later ones in towns of the attribute before it once that line, too,
// has had six. A line must therefore run without gaps and end in ">html".
#pragma once

#include <map>
#include <string>

#include "check/findings.h"

namespace kiravel::check {

// What the checker learnt of one story scene.
struct StoryScene {
  int bonusPageLine = 0;  // 0 when the scene has no ">html"
};

// Story scene files by line (0..2) and count.
using StoryScenes = std::map<int, std::map<int, StoryScene>>;

// Whether a file name of the text folder names a story scene (line 0, count
// 3: "03" and the ending); sets line and count. Names the towns never ask
// for ("003") are reported.
bool ParseStoryName(const std::string& fileName, int& line, int& count, Findings& findings);

void CheckStoryLines(const StoryScenes& scenes, Findings& findings);

}  // namespace kiravel::check
