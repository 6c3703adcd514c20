#include "app/kiravel-check/media_check.h"

#include <QBuffer>
#include <QByteArray>
#include <QImage>
#include <QImageReader>
#include <QString>

#include "app/kiravel-check/quiet_decoders.h"
#include "app/kiravel-check/raw_text.h"
#include "platform/regular_file.h"
#include "platform/wave_file.h"

namespace kiravel::check {

const std::string& PictureShelf::Problem(const std::string& name) {
  auto known = problems_.find(name);
  if (known != problems_.end()) return known->second;
  const FileBytes file = ReadRegularFile(folder_ + "img/" + name + ".dat");
  std::string problem = ReadProblem(file);
  if (problem.empty()) {
    QByteArray bytes = QByteArray::fromRawData(file.Bytes.data(), static_cast<int>(file.Bytes.size()));
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    reader.setDecideFormatFromContent(true);
    QImage image;
    {
      QuietDecoders quiet;
      image = reader.read();
    }
    if (image.isNull()) problem = "not a picture the game can decode (" +
                                  reader.errorString().toStdString() + ")";
  }
  return problems_.emplace(name, problem).first->second;
}

// The game's own loader decides.
std::string WaveProblem(const std::string& path) { return ReadWaveFile(path).Problem; }

}  // namespace kiravel::check
