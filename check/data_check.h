// Checks a whole data folder the way the game reads it.
#pragma once

#include <string>

#include "check/findings.h"

namespace kiravel::check {

// folder ends in "/".
Findings CheckDataFolder(const std::string& folder);

}  // namespace kiravel::check
