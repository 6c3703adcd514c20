// Text files of any bytes through the CP932 converters: whatever decodes
// encodes again and decodes to the same text, and whatever encodes decodes
// back to the text it came from.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>

#include "platform/cp932.h"

namespace {

void Require(bool holds) {
  if (!holds) std::abort();
}

// Bytes read from a file.
void DecodeThenEncode(std::string_view bytes) {
  const std::optional<std::string> text = kiravel::Cp932ToUtf8(bytes);
  const std::string lenient = kiravel::Cp932ToUtf8Lenient(bytes);
  if (!text) return;
  Require(lenient == *text);
  const std::optional<std::string> encoded = kiravel::Utf8ToCp932(*text);
  Require(encoded.has_value());
  Require(kiravel::Cp932ToUtf8(*encoded) == text);
}

// Text the game writes to a file.
void EncodeThenDecode(std::string_view text) {
  const std::optional<std::string> encoded = kiravel::Utf8ToCp932(text);
  if (!encoded) return;
  const std::optional<std::string> decoded = kiravel::Cp932ToUtf8(*encoded);
  Require(decoded.has_value());
  Require(*decoded == text);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  DecodeThenEncode(bytes);
  EncodeThenDecode(bytes);
  return 0;
}
