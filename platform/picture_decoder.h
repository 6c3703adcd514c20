// The one picture decoder of the game, the runner and the checker: a file is
// a picture the game can show exactly when this decodes it. The format is
// read from the bytes; the ".dat" ending says nothing about it.
#pragma once

#include <QByteArray>
#include <QImage>
#include <memory>
#include <optional>
#include <string>

#include "ui/controls.h"

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

// The file's bytes, read through the game's own file opening: null when it
// is missing or unreadable, and a pipe or a folder under a picture's name is
// refused at once instead of holding the game.
std::optional<QByteArray> ReadPictureFile(const std::string& path);

// Reads the file at every request, but decodes it again only when its bytes
// differ from those decoded last: the title, which both panels ask for at
// every resize, is decoded once.
class PictureReader {
 public:
  std::shared_ptr<const QtImage> Load(const std::string& path);
  // A decoding made elsewhere, kept as the last one.
  void Remember(QByteArray bytes, std::shared_ptr<const QtImage> picture);

 private:
  QByteArray lastBytes_;
  std::shared_ptr<const QtImage> last_;
};

}  // namespace kiravel
