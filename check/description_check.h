// The pictures' descriptions, which a screen reader says in place of a
// picture: a picture without one is named by its file alone.
#pragma once

#include <string>
#include <vector>

#include "check/findings.h"

namespace kiravel::check {

// lines: the descriptions file as read; a folder without the file is not
// checked, as its pictures were never described.
void CheckPictureDescriptions(const std::string& folder, const std::vector<std::string>& lines,
                              Findings& findings);

}  // namespace kiravel::check
