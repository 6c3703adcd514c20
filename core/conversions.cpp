#include "core/conversions.h"
#include "platform/utf8.h"

#include <locale.h>
#include <stdlib.h>

#include <cmath>
#include <limits>

namespace kiravel {

// The game's files write a fraction with a point whatever the player's
// language: read in the "C" locale, not the one the window was started in.
double DecimalValue(const std::string& number) {
  static const locale_t plain = newlocale(LC_ALL_MASK, "C", nullptr);
  return strtod_l(number.c_str(), nullptr, plain);
}

double Val(std::string_view text) {
  std::size_t i = 0;
  auto isBlank = [&](std::size_t k) {
    return k < text.size() && (text[k] == ' ' || text[k] == '\t');
  };
  while (isBlank(i)) ++i;
  std::string number;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) number += text[i++];
  bool digits = false;
  while (i < text.size() && text[i] >= '0' && text[i] <= '9') {
    number += text[i++];
    digits = true;
  }
  if (i < text.size() && text[i] == '.') {
    number += text[i++];
    while (i < text.size() && text[i] >= '0' && text[i] <= '9') {
      number += text[i++];
      digits = true;
    }
  }
  if (!digits) return 0;
  if (i < text.size() && (text[i] == 'e' || text[i] == 'E' || text[i] == 'd' ||
                          text[i] == 'D')) {
    std::size_t k = i + 1;
    std::string exponent = "e";
    if (k < text.size() && (text[k] == '+' || text[k] == '-')) exponent += text[k++];
    bool expDigits = false;
    while (k < text.size() && text[k] >= '0' && text[k] <= '9') {
      exponent += text[k++];
      expDigits = true;
    }
    if (expDigits) number += exponent;
  }
  double value = DecimalValue(number);
  if (!std::isfinite(value)) return value > 0 ? std::numeric_limits<double>::max()
                                              : std::numeric_limits<double>::lowest();
  return value;
}

namespace {
template <class T>
T RoundClamped(double value) {
  if (std::isnan(value)) return 0;
  double rounded = std::nearbyint(value);  // default mode: halves to even
  if (rounded <= static_cast<double>(std::numeric_limits<T>::min()))
    return std::numeric_limits<T>::min();
  if (rounded >= static_cast<double>(std::numeric_limits<T>::max()))
    return std::numeric_limits<T>::max();
  return static_cast<T>(rounded);
}
}  // namespace

std::int16_t CInt(double value) { return RoundClamped<std::int16_t>(value); }
std::int32_t CLng(double value) { return RoundClamped<std::int32_t>(value); }

std::int32_t Int(double value) {
  if (std::isnan(value)) return 0;
  return RoundClamped<std::int32_t>(std::floor(value));
}

std::string CStr(std::int64_t value) { return std::to_string(value); }

std::int16_t ClampInt16(std::int64_t value) {
  if (value < std::numeric_limits<std::int16_t>::min())
    return std::numeric_limits<std::int16_t>::min();
  if (value > std::numeric_limits<std::int16_t>::max())
    return std::numeric_limits<std::int16_t>::max();
  return static_cast<std::int16_t>(value);
}

std::int64_t Len(std::string_view text) {
  std::int64_t n = 0;
  for (char c : text) {
    if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) ++n;
  }
  return n;
}

std::string Mid(std::string_view text, std::int64_t start, std::int64_t count) {
  std::u32string chars = Utf8ToCodePoints(text);
  auto size = static_cast<std::int64_t>(chars.size());
  if (start < 1) start = 1;
  if (start > size) return "";
  std::int64_t available = size - (start - 1);
  if (count < 0 || count > available) count = available;
  return CodePointsToUtf8(std::u32string_view(chars).substr(
      static_cast<std::size_t>(start - 1), static_cast<std::size_t>(count)));
}

std::string Left(std::string_view text, std::int64_t count) {
  if (count <= 0) return "";
  return Mid(text, 1, count);
}

std::string Replace(std::string_view text, std::string_view find, std::string_view with) {
  if (find.empty()) return std::string(text);
  std::string out;
  out.reserve(text.size());
  std::size_t pos = 0;
  for (;;) {
    std::size_t hit = text.find(find, pos);
    if (hit == std::string_view::npos) break;
    out.append(text.substr(pos, hit - pos));
    out.append(with);
    pos = hit + find.size();
  }
  out.append(text.substr(pos));
  return out;
}

std::vector<std::string> Split(std::string_view text, char separator) {
  std::vector<std::string> pieces;
  std::size_t pos = 0;
  for (;;) {
    std::size_t hit = text.find(separator, pos);
    if (hit == std::string_view::npos) break;
    pieces.emplace_back(text.substr(pos, hit - pos));
    pos = hit + 1;
  }
  pieces.emplace_back(text.substr(pos));
  return pieces;
}

std::string UCase(std::string_view text) {
  std::string out(text);
  for (char& c : out) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return out;
}

std::string VariantText(const Variant& value) {
  if (const auto* number = std::get_if<std::int32_t>(&value)) return CStr(*number);
  if (const auto* text = std::get_if<std::string>(&value)) return *text;
  return "";
}

}  // namespace kiravel
