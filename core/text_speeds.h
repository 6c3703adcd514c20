// The speeds a scene's text can be typed at, as the tavern's menu offers
// them: item i sets the typing timer to i times the step, so 無し shows each
// page at once.
#pragma once

#include <array>
#include <cstdint>

namespace kiravel {

inline constexpr std::array<const char*, 4> kTextSpeedNames{"無し", "速い", "普通", "遅い"};
inline constexpr std::int32_t kTextSpeedStep = 100;  // milliseconds

constexpr std::int32_t TextSpeedInterval(std::int16_t item) { return item * kTextSpeedStep; }

// Whether the typing timer's interval is one the menu sets.
constexpr bool IsTextSpeed(std::int64_t interval) {
  return interval >= 0 && interval % kTextSpeedStep == 0 &&
         interval / kTextSpeedStep < static_cast<std::int64_t>(kTextSpeedNames.size());
}

}  // namespace kiravel
