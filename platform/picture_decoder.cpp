#include "platform/picture_decoder.h"

#include <sys/stat.h>
#include <unistd.h>

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

namespace {

// How many decoded pictures are kept: the title, the town, the tavern, a
// monster and a scene's few.
constexpr std::size_t kKeptPictures = 12;

std::int64_t Nanoseconds(const timespec& t) {
  return static_cast<std::int64_t>(t.tv_sec) * 1'000'000'000 + t.tv_nsec;
}

FileStamp StampOf(const struct stat& info) {
  return FileStamp{info.st_dev, info.st_ino, static_cast<std::int64_t>(info.st_size),
                   Nanoseconds(info.st_mtim), Nanoseconds(info.st_ctim)};
}

// Opens the file and tells its stamp; -1 when it cannot be a picture.
int OpenPicture(const std::string& path, FileStamp* stamp) {
  FileReadError error = FileReadError::None;
  const int fd = OpenRegularFile(path, &error);
  if (fd < 0) return -1;
  struct stat info {};
  if (::fstat(fd, &info) != 0 || info.st_size > kLargestPictureFile) {
    ::close(fd);
    return -1;
  }
  *stamp = StampOf(info);
  return fd;
}

// Reads the opened file to its end and closes it; null when it turns out
// larger than any picture after all (it grew since it was opened).
std::optional<QByteArray> ReadOpened(int fd) {
  FileBytes file = ReadOpenedFile(fd, static_cast<std::size_t>(kLargestPictureFile));
  if (file.Error != FileReadError::None) return std::nullopt;
  return QByteArray::fromStdString(file.Bytes);
}

}  // namespace

std::optional<PictureBytes> ReadPictureFile(const std::string& path) {
  PictureBytes picture;
  const int fd = OpenPicture(path, &picture.Stamp);
  if (fd < 0) return std::nullopt;
  std::optional<QByteArray> bytes = ReadOpened(fd);
  if (!bytes) return std::nullopt;
  picture.Bytes = std::move(*bytes);
  return picture;
}

std::shared_ptr<const QtImage> PictureReader::Load(const std::string& path) {
  FileStamp stamp;
  const int fd = OpenPicture(path, &stamp);
  if (fd < 0) return nullptr;
  for (auto kept = decoded_.begin(); kept != decoded_.end(); ++kept) {
    if (kept->path != path || !(kept->stamp == stamp)) continue;
    ::close(fd);
    decoded_.splice(decoded_.begin(), decoded_, kept);
    return decoded_.front().picture;
  }
  std::optional<QByteArray> bytes = ReadOpened(fd);
  if (!bytes) return nullptr;
  QImage pixels = DecodePicture(*bytes);
  if (pixels.isNull()) return nullptr;
  Remember(path, stamp, std::make_shared<QtImage>(std::move(pixels)));
  return decoded_.front().picture;
}

void PictureReader::Remember(const std::string& path, const FileStamp& stamp,
                             std::shared_ptr<const QtImage> picture) {
  decoded_.remove_if([&](const Decoded& kept) { return kept.path == path; });
  decoded_.push_front(Decoded{path, stamp, std::move(picture)});
  if (decoded_.size() > kKeptPictures) decoded_.pop_back();
}

}  // namespace kiravel
