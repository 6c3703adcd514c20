#include "app/kiravel-check/story_lines.h"

#include <algorithm>

namespace kiravel::check {

namespace {

// Counts are 16-bit in the game; no line gets anywhere near this.
constexpr std::size_t kLongestCount = 4;
constexpr int kOwnTownScenes = 6;
const char* const kAttributeName[] = {"火", "草", "水"};

std::string SceneFile(int line, int count) {
  return "txt/" + std::to_string(line) + std::to_string(count) + ".dat";
}

int PreviousLine(int line) { return (line + 2) % 3; }

// The count at which the line's story ends (its first ">html"), or -1.
int EndingCount(const std::map<int, StoryScene>& line) {
  for (const auto& [count, scene] : line) {
    if (scene.bonusPageLine != 0) return count;
  }
  return -1;
}

void CheckGaps(int line, const std::map<int, StoryScene>& scenes, Findings& findings) {
  if (scenes.empty() || scenes.begin()->first != 0) {
    findings.Error(SceneFile(line, 0), 0,
                   std::string("missing: towns of ") + kAttributeName[line] +
                       " open story line " + std::to_string(line) + " with this scene");
  }
  int expected = 0;
  for (const auto& [count, scene] : scenes) {
    for (; expected < count; ++expected) {
      if (expected == 0) continue;
      findings.Error(SceneFile(line, expected), 0,
                     "missing: story line " + std::to_string(line) + " has " +
                         SceneFile(line, count) + " after it, and towns ask for this one first");
    }
    expected = count + 1;
  }
}

void CheckEnding(int line, const std::map<int, StoryScene>& scenes, Findings& findings) {
  if (scenes.empty()) return;
  const int last = scenes.rbegin()->first;
  const int ending = EndingCount(scenes);
  if (ending < 0) {
    findings.Error(SceneFile(line, last), 0,
                   "story line " + std::to_string(line) + " stops here without \">html\": "
                   "towns would next ask for the missing " + SceneFile(line, last + 1));
  } else if (ending < last) {
    findings.Warning(SceneFile(line, ending), scenes.at(ending).bonusPageLine,
                     "\">html\" ends story line " + std::to_string(line) +
                         " here: the scenes after it are never played");
  }
}

// Scenes from the seventh on wait for six scenes of the line before; a line
// that ends sooner keeps them from ever being offered.
void CheckLateScenes(int line, const StoryScenes& all, Findings& findings) {
  const auto& scenes = all.at(line);
  auto late = scenes.lower_bound(kOwnTownScenes);
  if (late == scenes.end()) return;
  const int previous = PreviousLine(line);
  auto found = all.find(previous);
  const int previousEnding = found == all.end() ? -1 : EndingCount(found->second);
  const bool previousReachesSix =
      found != all.end() && found->second.size() >= kOwnTownScenes &&
      (previousEnding < 0 || previousEnding >= kOwnTownScenes);
  if (previousReachesSix) return;
  findings.Warning(SceneFile(line, late->first), 0,
                   "never offered: towns of " + std::string(kAttributeName[previous]) +
                       " offer it only after six scenes of story line " +
                       std::to_string(previous) + ", which ends sooner");
}

}  // namespace

bool ParseStoryName(const std::string& fileName, int& line, int& count, Findings& findings) {
  if (!fileName.ends_with(".dat")) return false;
  const std::string stem = fileName.substr(0, fileName.size() - 4);
  if (stem.size() < 2 || stem[0] < '0' || stem[0] > '2') return false;
  if (!std::all_of(stem.begin() + 1, stem.end(), [](char c) { return c >= '0' && c <= '9'; })) {
    return false;
  }
  const std::string digits = stem.substr(1);
  if ((digits.size() > 1 && digits[0] == '0') || digits.size() > kLongestCount) {
    findings.Warning("txt/" + fileName, 0,
                     "never played: towns ask for story scenes by their count without leading zeros");
    return false;
  }
  line = stem[0] - '0';
  count = std::stoi(digits);
  return true;
}

void CheckStoryLines(const StoryScenes& scenes, Findings& findings) {
  for (int line = 0; line < 3; ++line) {
    static const std::map<int, StoryScene> kNone;
    auto found = scenes.find(line);
    const auto& own = found == scenes.end() ? kNone : found->second;
    CheckGaps(line, own, findings);
    CheckEnding(line, own, findings);
    if (found != scenes.end()) CheckLateScenes(line, scenes, findings);
  }
}

}  // namespace kiravel::check
