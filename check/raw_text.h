// Reads one of the game's text files byte by byte, as the game would, and
// notes everything about its form that the game does not expect: bytes that
// are not CP932, lines not ended by CR LF, a file saved as UTF-8.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "check/findings.h"
#include "platform/regular_file.h"

namespace kiravel::check {

// Why a file the game reads is not there to read, or "" when it is.
std::string ReadProblem(const FileBytes& file);

// The lines as UTF-8 (bytes that are not CP932 shown as U+FFFD), or nothing
// when the file cannot be read, which is then a finding of its own.
// `relative` names the file in findings.
std::optional<std::vector<std::string>> ReadDataText(const std::string& folder,
                                                     const std::string& relative,
                                                     Findings& findings);

}  // namespace kiravel::check
