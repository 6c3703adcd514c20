// Text is UTF-8 inside the game; "the n-th character" is the n-th code point.
// Bytes that are no UTF-8 become U+FFFD, so no text the player or a data
// file gives can stop the game.
#pragma once

#include <string>
#include <string_view>

namespace kiravel {

std::u32string Utf8ToCodePoints(std::string_view text);
std::string CodePointsToUtf8(std::u32string_view text);

}  // namespace kiravel
