// The game's files are in the Japanese ANSI code page (CP932); text inside
// the game is UTF-8. These convert at the file boundary.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace kiravel {

// Null when the bytes are not valid CP932.
std::optional<std::string> Cp932ToUtf8(std::string_view bytes);
// Invalid bytes become U+FFFD; for showing text that must not stop play.
std::string Cp932ToUtf8Lenient(std::string_view bytes);
// Null when the text holds a character CP932 cannot encode.
std::optional<std::string> Utf8ToCp932(std::string_view text);
// Whether CP932 can hold this one character.
bool Cp932CanEncode(char32_t c);

}  // namespace kiravel
