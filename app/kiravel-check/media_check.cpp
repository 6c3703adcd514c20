#include "app/kiravel-check/media_check.h"

#include "app/kiravel-check/quiet_decoders.h"

#include <QImage>
#include <QImageReader>
#include <QString>
#include <filesystem>

#include "platform/wave_file.h"

namespace kiravel::check {

const std::string& PictureShelf::Problem(const std::string& name) {
  auto known = problems_.find(name);
  if (known != problems_.end()) return known->second;
  const std::string path = folder_ + "img/" + name + ".dat";
  std::string problem;
  if (!std::filesystem::is_regular_file(path)) {
    problem = "missing";
  } else {
    QImageReader reader(QString::fromStdString(path));
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
