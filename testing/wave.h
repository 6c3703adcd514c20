// Wave files for the music tests: mono, 8000 frames a second.
#pragma once

#include <cstdint>
#include <string>

namespace kiravel::testing {

// Little-endian bytes of a number.
inline std::string LittleEndian(std::uint32_t value, int count) {
  std::string bytes;
  for (int i = 0; i < count; ++i) bytes += static_cast<char>((value >> (8 * i)) & 0xFF);
  return bytes;
}

// A wave of any format: the fmt chunk's fields (and what its extension
// holds, for the formats that have one), then the data chunk with the
// sample bytes.
inline std::string WaveOf(unsigned formatTag, unsigned bits, const std::string& samples,
                          const std::string& extension = "") {
  const unsigned align = bits / 8;
  std::string fmt = LittleEndian(formatTag, 2) + LittleEndian(1, 2) + LittleEndian(8000, 4) +
                    LittleEndian(8000 * align, 4) + LittleEndian(align, 2) + LittleEndian(bits, 2);
  if (!extension.empty()) fmt += LittleEndian(static_cast<std::uint32_t>(extension.size()), 2) + extension;
  const std::string body = "WAVEfmt " + LittleEndian(static_cast<std::uint32_t>(fmt.size()), 4) +
                           fmt + "data" +
                           LittleEndian(static_cast<std::uint32_t>(samples.size()), 4) + samples;
  return "RIFF" + LittleEndian(static_cast<std::uint32_t>(body.size()), 4) + body;
}

// A 16-bit PCM wave holding these sample bytes. A format tag other than 1
// (PCM) or a missing data chunk make the broken files a data author might
// ship.
inline std::string MonoWave(const std::string& samples, unsigned formatTag = 1,
                            bool withData = true) {
  if (withData) return WaveOf(formatTag, 16, samples);
  const std::string fmt = LittleEndian(formatTag, 2) + LittleEndian(1, 2) + LittleEndian(8000, 4) +
                          LittleEndian(16000, 4) + LittleEndian(2, 2) + LittleEndian(16, 2);
  return "RIFF" + LittleEndian(28, 4) + "WAVEfmt " + LittleEndian(16, 4) + fmt;
}

// Silence of the given length.
inline std::string SilentWave(int milliseconds) {
  return MonoWave(std::string(static_cast<std::size_t>(milliseconds) * 16, '\0'));
}

// 32-bit float samples (format 3), as a sound editor saves them.
inline std::string FloatWave(int frames) {
  return WaveOf(3, 32, std::string(static_cast<std::size_t>(frames) * 4, '\0'));
}

// 16-bit PCM described by WAVE_FORMAT_EXTENSIBLE: valid bits, the speaker of
// the one channel and the PCM sub-format's GUID.
inline std::string ExtensibleWave(int frames) {
  const std::string pcm("\x01\x00\x00\x00\x00\x00\x10\x00\x80\x00\x00\xAA\x00\x38\x9B\x71", 16);
  return WaveOf(0xFFFE, 16, std::string(static_cast<std::size_t>(frames) * 2, '\0'),
                LittleEndian(16, 2) + LittleEndian(4, 4) + pcm);
}

// 8-bit µ-law (format 7), as telephone recordings come.
inline std::string MuLawWave(int frames) {
  return WaveOf(7, 8, std::string(static_cast<std::size_t>(frames), '\xFF'));
}

// The same wave with the size field of its first chunk named `id` (four
// letters) replaced, as a broken or cut-short file may claim.
inline std::string Claiming(std::string wave, const std::string& id, std::uint32_t size) {
  wave.replace(wave.find(id) + 4, 4, LittleEndian(size, 4));
  return wave;
}

}  // namespace kiravel::testing
