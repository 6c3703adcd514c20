#include "platform/picture_decoder.h"

#include <QBuffer>
#include <QImageReader>

#include "platform/regular_file.h"

namespace kiravel {

QImage DecodePicture(const QByteArray& bytes, std::string* problem) {
  QBuffer buffer;
  buffer.setData(bytes);
  buffer.open(QIODevice::ReadOnly);
  QImageReader reader(&buffer);
  reader.setDecideFormatFromContent(true);
  QImage pixels = reader.read();
  if (pixels.isNull() && problem != nullptr) *problem = reader.errorString().toStdString();
  return pixels;
}

std::optional<QByteArray> ReadPictureFile(const std::string& path) {
  FileBytes file = ReadRegularFile(path);
  if (file.Error != FileReadError::None) return std::nullopt;
  return QByteArray::fromStdString(file.Bytes);
}

std::shared_ptr<const QtImage> PictureReader::Load(const std::string& path) {
  std::optional<QByteArray> bytes = ReadPictureFile(path);
  if (!bytes) return nullptr;
  if (last_ != nullptr && *bytes == lastBytes_) return last_;
  QImage pixels = DecodePicture(*bytes);
  if (pixels.isNull()) return nullptr;
  Remember(std::move(*bytes), std::make_shared<QtImage>(std::move(pixels)));
  return last_;
}

void PictureReader::Remember(QByteArray bytes, std::shared_ptr<const QtImage> picture) {
  lastBytes_ = std::move(bytes);
  last_ = std::move(picture);
}

}  // namespace kiravel
