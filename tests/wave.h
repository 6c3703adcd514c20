// Wave files for the music tests: mono, 16-bit, 8000 samples a second.
#pragma once

#include <cstdint>
#include <string>

namespace kiravel::testing {

// A wave holding these sample bytes. A format tag other than 1 (PCM) or a
// missing data chunk make the broken files a data author might ship.
inline std::string MonoWave(const std::string& samples, unsigned formatTag = 1,
                            bool withData = true) {
  std::string bytes;
  auto put = [&](std::uint32_t value, int count) {
    for (int i = 0; i < count; ++i) bytes += static_cast<char>((value >> (8 * i)) & 0xFF);
  };
  const auto size = static_cast<std::uint32_t>(samples.size());
  bytes += "RIFF";
  put(withData ? 36 + size : 28, 4);
  bytes += "WAVEfmt ";
  put(16, 4), put(formatTag, 2), put(1, 2), put(8000, 4), put(16000, 4), put(2, 2), put(16, 2);
  if (!withData) return bytes;
  bytes += "data";
  put(size, 4);
  return bytes + samples;
}

// Silence of the given length.
inline std::string SilentWave(int milliseconds) {
  return MonoWave(std::string(static_cast<std::size_t>(milliseconds) * 16, '\0'));
}

}  // namespace kiravel::testing
