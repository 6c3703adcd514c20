// The three story lines as the towns offer them. A town offers the line of
// its own attribute until six of that line's scenes have started; from then
// on it offers the next line, once that line has had six scenes as well.
// The game and kiravel-check both follow these.
#pragma once

#include <cstdint>
#include <string>

#include "core/status.h"

namespace kiravel {

// IveNo when no story waits in the town.
inline constexpr std::int16_t kNoStoryWaiting = 10;
// Scenes a line plays in towns of its own attribute before those towns move on.
inline constexpr std::int16_t kScenesInOwnTowns = 6;

// The story line a town of this attribute offers, given how many scenes of
// each line have started, or kNoStoryWaiting.
std::int16_t WaitingLine(std::int32_t townAttribute, const PerStoryLine& started);

// The line whose towns offer this line's scenes after its first six.
std::int16_t LineBefore(std::int16_t line);

// The scene's name in the text folder: the line and its count in decimal,
// "03", "110".
std::string StorySceneName(std::int16_t line, std::int16_t count);

}  // namespace kiravel
