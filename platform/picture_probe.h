// Recognises a picture file by its content (PNG, JPEG, GIF or BMP), whatever
// its name ends in, and reads its size from its header. The headless runner
// and the data checker use it where no image library is at hand.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace kiravel {

enum class PictureFormat { Png, Jpeg, Gif, Bmp };

struct PictureInfo {
  PictureFormat Format;
  int Width = 0;   // pixels
  int Height = 0;  // pixels
};

// Null when the bytes are not a picture of a known format with a sound header.
std::optional<PictureInfo> ProbePicture(std::string_view bytes);
// Null also when the file is missing or unreadable.
std::optional<PictureInfo> ProbePictureFile(const std::string& path);

}  // namespace kiravel
