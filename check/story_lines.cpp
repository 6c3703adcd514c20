#include "check/story_lines.h"

#include <algorithm>
#include <string_view>

#include "core/story_lines.h"
#include "platform/data_folder.h"

namespace kiravel::check {

namespace {

// Counts are 16-bit in the game; no line gets anywhere near this.
constexpr std::size_t kLongestCount = 4;

std::string SceneFile(int line, int count) {
  return TextFile(StorySceneName(static_cast<std::int16_t>(line), static_cast<std::int16_t>(count)));
}

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
                   std::string("missing: towns of ") + kStatusNames[line] +
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

// How far a line's count climbs while the game goes on: up to its ending
// scene, or up to its first missing scene.
std::int16_t ReachableCount(const StoryScenes& all, int line) {
  auto found = all.find(line);
  if (found == all.end()) return 0;
  const int ending = EndingCount(found->second);
  std::int16_t count = 0;
  while (count != ending && found->second.count(count) != 0) ++count;
  return count;
}

// Whether some town ever offers the scene, the other lines having climbed as
// far as they can.
bool Offered(int line, int count, const StoryScenes& all) {
  PerStoryLine started{};
  for (int other = 0; other < kAttributeCount; ++other) started[other] = ReachableCount(all, other);
  started[line] = static_cast<std::int16_t>(count);
  for (int town = 0; town < kAttributeCount; ++town) {
    if (WaitingLine(town, started) == line) return true;
  }
  return false;
}

// Scenes past the first six wait for six scenes of the line before; a line
// that ends sooner keeps them from ever being offered.
void CheckLateScenes(int line, const StoryScenes& all, Findings& findings) {
  const auto& scenes = all.at(line);
  auto late = scenes.lower_bound(kScenesInOwnTowns);
  if (late == scenes.end() || Offered(line, late->first, all)) return;
  const int before = LineBefore(static_cast<std::int16_t>(line));
  findings.Warning(SceneFile(line, late->first), 0,
                   "never offered: towns of " + std::string(kStatusNames[before]) +
                       " offer it only after six scenes of story line " + std::to_string(before) +
                       ", which ends sooner");
}

}  // namespace

bool ParseStoryName(const std::string& fileName, int& line, int& count, Findings& findings) {
  if (!HasDataEnding(fileName)) return false;
  const std::string stem = fileName.substr(0, fileName.size() - std::string_view(kDataEnding).size());
  if (stem.size() < 2 || stem[0] < '0' || stem[0] >= '0' + kAttributeCount) return false;
  if (!std::all_of(stem.begin() + 1, stem.end(), [](char c) { return c >= '0' && c <= '9'; })) {
    return false;
  }
  const std::string digits = stem.substr(1);
  // Towns name a scene by its count in decimal.
  if (digits.size() > kLongestCount ||
      SceneFile(stem[0] - '0', std::stoi(digits)) != TextFolderPath() + fileName) {
    findings.Warning(TextFolderPath() + fileName, 0,
                     "never played: towns ask for story scenes by their count without leading zeros");
    return false;
  }
  line = stem[0] - '0';
  count = std::stoi(digits);
  return true;
}

void CheckStoryLines(const StoryScenes& scenes, Findings& findings) {
  for (int line = 0; line < kAttributeCount; ++line) {
    static const std::map<int, StoryScene> kNone;
    auto found = scenes.find(line);
    const auto& own = found == scenes.end() ? kNone : found->second;
    CheckGaps(line, own, findings);
    CheckEnding(line, own, findings);
    if (found != scenes.end()) CheckLateScenes(line, scenes, findings);
  }
}

}  // namespace kiravel::check
