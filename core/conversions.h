// The few conversions and text operations whose exact meaning the game
// relies on: leading numbers, rounding, decimal text and character-indexed
// slicing of UTF-8 text.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <variant>
#include <vector>


namespace kiravel {

// The number at the start of the text, spaces around it ignored: an optional
// sign, digits, an optional fraction and exponent. 0 when there is none.
double Val(std::string_view text);
// A whole text that is a decimal number with a point, read the same way
// under every locale.
double DecimalValue(const std::string& number);

// To a 16-bit Integer, rounding halves to the even neighbour; values beyond
// the range are clamped to it instead of overflowing.
std::int16_t CInt(double value);
// The same for a 32-bit Long.
std::int32_t CLng(double value);
// Rounds down (towards minus infinity), clamped to the 32-bit range.
std::int32_t Int(double value);
// Decimal text without leading spaces or zeros: "-5", "0", "110".
std::string CStr(std::int64_t value);

// Clamps a wide result to the 16-bit range.
std::int16_t ClampInt16(std::int64_t value);

// Number of characters.
std::int64_t Len(std::string_view text);
// Characters from the 1-based position start, count of them (all when
// negative); "" when start lies past the end.
std::string Mid(std::string_view text, std::int64_t start, std::int64_t count = -1);
// The first count characters.
std::string Left(std::string_view text, std::int64_t count);
// Every occurrence of find in text, left to right, replaced by with; the
// replacement is never searched again.
std::string Replace(std::string_view text, std::string_view find, std::string_view with);
// The pieces between the separators; one piece for a text without any.
std::vector<std::string> Split(std::string_view text, char separator);
// Upper case of ASCII letters; other characters unchanged.
std::string UCase(std::string_view text);

// A cell of a table that holds a number, a text or nothing.
using Variant = std::variant<std::monostate, std::int32_t, std::string>;
// The cell as text: numbers in decimal, nothing as "".
std::string VariantText(const Variant& value);

}  // namespace kiravel
