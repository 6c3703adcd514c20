// Reads one of the game's text files byte by byte, as the game would, and
// notes everything about its form that the game does not expect: bytes that
// are not CP932, lines not ended by CR LF, a file saved as UTF-8.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "app/kiravel-check/findings.h"

namespace kiravel::check {

// The lines as UTF-8 (bytes that are not CP932 shown as U+FFFD), or nothing
// when the file cannot be read. `relative` names the file in findings.
std::optional<std::vector<std::string>> ReadDataText(const std::string& folder,
                                                     const std::string& relative,
                                                     Findings& findings);

}  // namespace kiravel::check
