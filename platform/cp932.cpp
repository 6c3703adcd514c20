#include "platform/cp932.h"

#include <iconv.h>

#include <cerrno>
#include <vector>

#include "platform/utf8.h"

namespace kiravel {

namespace {

// One conversion through iconv. Stops at the first byte sequence that cannot
// be converted unless lenient, where such a sequence is replaced.
std::optional<std::string> Convert(const char* to, const char* from, std::string_view input,
                                   const std::string* replacement) {
  iconv_t cd = iconv_open(to, from);
  if (cd == reinterpret_cast<iconv_t>(-1)) return std::nullopt;
  std::string out;
  std::vector<char> buffer(input.size() * 4 + 16);
  auto* in = const_cast<char*>(input.data());
  std::size_t inLeft = input.size();
  bool ok = true;
  while (inLeft > 0) {
    char* outPtr = buffer.data();
    std::size_t outLeft = buffer.size();
    std::size_t result = iconv(cd, &in, &inLeft, &outPtr, &outLeft);
    out.append(buffer.data(), static_cast<std::size_t>(outPtr - buffer.data()));
    if (result != static_cast<std::size_t>(-1)) continue;
    if (errno == E2BIG) continue;
    if (replacement == nullptr) {
      ok = false;
      break;
    }
    out += *replacement;  // EILSEQ or EINVAL: skip one byte and go on
    ++in;
    --inLeft;
  }
  if (ok) {
    char* outPtr = buffer.data();
    std::size_t outLeft = buffer.size();
    iconv(cd, nullptr, nullptr, &outPtr, &outLeft);
    out.append(buffer.data(), static_cast<std::size_t>(outPtr - buffer.data()));
  }
  iconv_close(cd);
  if (!ok) return std::nullopt;
  return out;
}

}  // namespace

std::optional<std::string> Cp932ToUtf8(std::string_view bytes) {
  return Convert("UTF-8", "CP932", bytes, nullptr);
}

std::string Cp932ToUtf8Lenient(std::string_view bytes) {
  static const std::string kReplacement = "\xEF\xBF\xBD";
  return Convert("UTF-8", "CP932", bytes, &kReplacement).value_or("");
}

std::optional<std::string> Utf8ToCp932(std::string_view text) {
  for (char32_t c : Utf8ToCodePoints(text)) {
    if (c == U'\uFFFD') return std::nullopt;
  }
  std::optional<std::string> bytes = Convert("CP932", "UTF-8", text, nullptr);
  // Some characters (the yen sign, the overline) are written as another
  // character and would come back changed: refuse them too.
  if (!bytes || Cp932ToUtf8(*bytes) != std::optional<std::string>(text)) return std::nullopt;
  return bytes;
}

bool Cp932CanEncode(char32_t c) {
  if (c < 0x80) return true;
  if (c == U'\uFFFD' || c > 0xFFFF) return false;
  return Utf8ToCp932(CodePointsToUtf8(std::u32string(1, c))).has_value();
}

}  // namespace kiravel
