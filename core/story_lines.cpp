#include "core/story_lines.h"

#include "core/conversions.h"

namespace kiravel {

namespace {

std::int16_t LineAfter(std::int32_t line) {
  return static_cast<std::int16_t>((line + 1) % kAttributeCount);
}

}  // namespace

std::int16_t WaitingLine(std::int32_t townAttribute, const PerStoryLine& started) {
  if (townAttribute < 0 || townAttribute >= kAttributeCount) return kNoStoryWaiting;
  if (started[townAttribute] < kScenesInOwnTowns) return static_cast<std::int16_t>(townAttribute);
  const std::int16_t next = LineAfter(townAttribute);
  if (started[next] >= kScenesInOwnTowns) return next;
  return kNoStoryWaiting;
}

std::int16_t LineBefore(std::int16_t line) {
  return static_cast<std::int16_t>((line + kAttributeCount - 1) % kAttributeCount);
}

std::string StorySceneName(std::int16_t line, std::int16_t count) {
  return CStr(line) + CStr(count);
}

}  // namespace kiravel
