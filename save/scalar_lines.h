// The courier's numbers in the save's last file, one a line, in the order the save
// writes them and the load reads them: money, the name, the town, the text
// speed, the five statuses, then the scenes started of each story line.
#pragma once

#include <cstddef>

#include "core/status.h"

namespace kiravel {

enum ScalarLine : std::size_t {
  kMoneyLine,
  kNameLine,
  kTownLine,
  kTextSpeedLine,
  kFirstStatusLine,
  kFirstStoryLine = kFirstStatusLine + kStatusCount,
  kScalarLines = kFirstStoryLine + kAttributeCount,
};

}  // namespace kiravel
