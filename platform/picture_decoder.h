// The one picture decoder of the game, the runner and the checker: a file is
// a picture the game can show exactly when this decodes it. The format is
// read from the bytes; the data ending says nothing about it.
#pragma once

#include <sys/types.h>

#include <QByteArray>
#include <QImage>
#include <cstdint>
#include <list>
#include <memory>
#include <optional>
#include <string>

#include "platform/image.h"

namespace kiravel {

// A decoded picture, kept for as long as a panel shows it.
class QtImage : public Image {
 public:
  explicit QtImage(QImage pixels) : Pixels(std::move(pixels)) {
    Width = Pixels.width();
    Height = Pixels.height();
  }
  QImage Pixels;
};

// A null image when the bytes are no whole picture; problem, when given, then
// says why in the decoder's words.
QImage DecodePicture(const QByteArray& bytes, std::string* problem = nullptr);

// No picture the game shows comes from a larger file: a picture of 4096 ×
// 4096 pixels of four bytes each, not compressed at all. A larger file is a
// broken picture, refused before it is read: reading and decoding hundreds
// of megabytes would hold the game at every request.
inline constexpr std::int64_t kLargestPictureFile = std::int64_t{64} << 20;

// What tells one state of a file from another without reading it: the
// same file, the same size, not written to since.
struct FileStamp {
  dev_t device = 0;
  ino_t inode = 0;
  std::int64_t size = 0;
  std::int64_t modified = 0;  // nanoseconds
  std::int64_t changed = 0;   // nanoseconds
  bool operator==(const FileStamp&) const = default;
};

struct PictureBytes {
  QByteArray Bytes;
  FileStamp Stamp;
};

// The file's bytes, read through the game's own file opening: null when it
// is missing, unreadable or larger than kLargestPictureFile; a pipe or a
// folder under a picture's name is refused at once instead of holding the
// game.
std::optional<PictureBytes> ReadPictureFile(const std::string& path);

// Decodes a file once for as long as it stays unchanged: the title, which
// both panels ask for at every resize, and the pictures a scene shows again
// are neither read nor decoded again.
class PictureReader {
 public:
  std::shared_ptr<const QtImage> Load(const std::string& path);
  // A decoding of the file made elsewhere.
  void Remember(const std::string& path, const FileStamp& stamp,
                std::shared_ptr<const QtImage> picture);

 private:
  struct Decoded {
    std::string path;
    FileStamp stamp;
    std::shared_ptr<const QtImage> picture;
  };
  // The latest first; the game shows a handful of pictures again and again.
  std::list<Decoded> decoded_;
};

}  // namespace kiravel
