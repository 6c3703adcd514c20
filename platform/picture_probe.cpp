#include "platform/picture_probe.h"

#include <array>
#include <cstdint>
#include <limits>

#include "platform/regular_file.h"

namespace kiravel {

namespace {

std::uint32_t BigEndian(std::string_view bytes, std::size_t at, int size) {
  std::uint32_t value = 0;
  for (int i = 0; i < size; ++i) {
    value = (value << 8) | static_cast<unsigned char>(bytes[at + static_cast<std::size_t>(i)]);
  }
  return value;
}

std::uint32_t LittleEndian(std::string_view bytes, std::size_t at, int size) {
  std::uint32_t value = 0;
  for (int i = size - 1; i >= 0; --i) {
    value = (value << 8) | static_cast<unsigned char>(bytes[at + static_cast<std::size_t>(i)]);
  }
  return value;
}

std::optional<PictureInfo> Sized(PictureFormat format, std::int64_t width, std::int64_t height) {
  constexpr std::int64_t kLargest = std::numeric_limits<int>::max();
  if (width <= 0 || height <= 0 || width > kLargest || height > kLargest) return std::nullopt;
  return PictureInfo{format, static_cast<int>(width), static_cast<int>(height)};
}

std::uint32_t Crc32(std::string_view bytes) {
  static const std::array<std::uint32_t, 256> table = [] {
    std::array<std::uint32_t, 256> t{};
    for (std::uint32_t n = 0; n < 256; ++n) {
      std::uint32_t c = n;
      for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
      t[n] = c;
    }
    return t;
  }();
  std::uint32_t crc = 0xFFFFFFFFu;
  for (char byte : bytes) crc = table[(crc ^ static_cast<unsigned char>(byte)) & 0xFF] ^ (crc >> 8);
  return crc ^ 0xFFFFFFFFu;
}

// Signature, then the IHDR chunk: length 13, type, width, height, five
// bytes of format, and the CRC of type and data.
std::optional<PictureInfo> ProbePng(std::string_view bytes) {
  constexpr std::string_view kSignature("\x89PNG\r\n\x1a\n", 8);
  if (bytes.size() < 8 + 25 || bytes.substr(0, 8) != kSignature) return std::nullopt;
  if (BigEndian(bytes, 8, 4) != 13 || bytes.substr(12, 4) != "IHDR") return std::nullopt;
  if (Crc32(bytes.substr(12, 17)) != BigEndian(bytes, 29, 4)) return std::nullopt;
  return Sized(PictureFormat::Png, BigEndian(bytes, 16, 4), BigEndian(bytes, 20, 4));
}

// Start-of-frame markers carry the size; C4, C8 and CC share their range
// but are tables and an extension.
bool IsFrameHeader(unsigned char marker) {
  return marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
}

// Markers that stand alone, without a length: TEM, RSTn, SOI.
bool StandsAlone(unsigned char marker) {
  return marker == 0x01 || (marker >= 0xD0 && marker <= 0xD8);
}

// Walks the segments from SOI to the first frame header; the scan or the
// end of the image coming first means there is no size to read.
std::optional<PictureInfo> ProbeJpeg(std::string_view bytes) {
  if (bytes.size() < 4 || BigEndian(bytes, 0, 2) != 0xFFD8) return std::nullopt;
  std::size_t at = 2;
  while (at + 1 < bytes.size()) {
    if (static_cast<unsigned char>(bytes[at]) != 0xFF) return std::nullopt;
    auto marker = static_cast<unsigned char>(bytes[at + 1]);
    if (marker == 0xFF) {  // a fill byte before the marker
      ++at;
      continue;
    }
    at += 2;
    if (StandsAlone(marker)) continue;
    if (marker == 0xD9 || marker == 0xDA || at + 2 > bytes.size()) return std::nullopt;
    std::size_t length = BigEndian(bytes, at, 2);
    if (length < 2 || at + length > bytes.size()) return std::nullopt;
    if (IsFrameHeader(marker)) {
      if (length < 8) return std::nullopt;
      return Sized(PictureFormat::Jpeg, BigEndian(bytes, at + 5, 2), BigEndian(bytes, at + 3, 2));
    }
    at += length;
  }
  return std::nullopt;
}

// Signature and the logical screen descriptor.
std::optional<PictureInfo> ProbeGif(std::string_view bytes) {
  if (bytes.size() < 13) return std::nullopt;
  std::string_view signature = bytes.substr(0, 6);
  if (signature != "GIF87a" && signature != "GIF89a") return std::nullopt;
  return Sized(PictureFormat::Gif, LittleEndian(bytes, 6, 2), LittleEndian(bytes, 8, 2));
}

// File header, then a DIB header of a size some Windows or OS/2 version
// wrote. A negative height marks rows stored top-down.
std::optional<PictureInfo> ProbeBmp(std::string_view bytes) {
  constexpr std::size_t kFileHeader = 14;
  if (bytes.size() < kFileHeader + 4 || bytes.substr(0, 2) != "BM") return std::nullopt;
  std::uint32_t dibSize = LittleEndian(bytes, kFileHeader, 4);
  constexpr std::array<std::uint32_t, 7> kKnownSizes{12, 40, 52, 56, 64, 108, 124};
  bool known = false;
  for (std::uint32_t size : kKnownSizes) known = known || size == dibSize;
  if (!known || bytes.size() < kFileHeader + dibSize) return std::nullopt;
  if (dibSize == 12) {
    return Sized(PictureFormat::Bmp, LittleEndian(bytes, 18, 2), LittleEndian(bytes, 20, 2));
  }
  auto width = static_cast<std::int32_t>(LittleEndian(bytes, 18, 4));
  auto height = static_cast<std::int32_t>(LittleEndian(bytes, 22, 4));
  std::int64_t rows = height < 0 ? -static_cast<std::int64_t>(height) : height;
  return Sized(PictureFormat::Bmp, width, rows);
}

}  // namespace

std::optional<PictureInfo> ProbePicture(std::string_view bytes) {
  for (auto probe : {ProbePng, ProbeJpeg, ProbeGif, ProbeBmp}) {
    if (std::optional<PictureInfo> info = probe(bytes)) return info;
  }
  return std::nullopt;
}

std::optional<PictureInfo> ProbePictureFile(const std::string& path) {
  FileBytes file = ReadRegularFile(path);
  if (file.Error != FileReadError::None) return std::nullopt;
  return ProbePicture(file.Bytes);
}

}  // namespace kiravel
