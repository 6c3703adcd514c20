#include "check/media_check.h"

#include <sys/stat.h>

#include <string>

#include "check/quiet_decoders.h"
#include "check/raw_text.h"
#include "platform/data_folder.h"
#include "platform/picture_decoder.h"
#include "platform/regular_file.h"
#include "platform/wave_file.h"

namespace kiravel::check {

const std::string& PictureShelf::Problem(const std::string& name) {
  auto known = problems_.find(name);
  if (known != problems_.end()) return known->second;
  const std::string path = folder_ + PictureFile(name);
  // The game refuses a file larger than any picture without reading it.
  struct stat info {};
  if (::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) &&
      info.st_size > kLargestPictureFile) {
    return problems_
        .emplace(name, "larger than any picture the game shows (" +
                           std::to_string(info.st_size) + " bytes; at most " +
                           std::to_string(kLargestPictureFile) + "): the game takes it for broken")
        .first->second;
  }
  const FileBytes file = ReadRegularFile(path);
  std::string problem = ReadProblem(file);
  if (problem.empty()) {
    QImage image;
    {
      QuietDecoders quiet;
      image = DecodePicture(QByteArray::fromStdString(file.Bytes), &problem);
    }
    if (image.isNull()) problem = "not a picture the game can decode (" + problem + ")";
  }
  return problems_.emplace(name, problem).first->second;
}

// The game's own loader decides.
std::string WaveProblem(const std::string& path) { return ReadWaveFile(path).Problem; }

}  // namespace kiravel::check
