// Picture and music files of any bytes: the picture decoder either refuses
// them, saying why, or gives a picture with a size, and a wave the data
// checker passes is one the game's music device opens.
#include <QCoreApplication>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "check/media_check.h"
#include "platform/data_folder.h"
#include "platform/picture_decoder.h"
#include "platform/scripted_platform.h"
#include "testing/game_fixture.h"

namespace {

void Require(bool holds) {
  if (!holds) std::abort();
}

const kiravel::testing::DataFolder& Folder() {
  static const kiravel::testing::DataFolder folder;
  return folder;
}

void DecodeAsPicture(const std::string& bytes) {
  std::string problem;
  const QImage picture =
      kiravel::DecodePicture(QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size())), &problem);
  if (picture.isNull()) {
    Require(!problem.empty());
  } else {
    Require(picture.width() > 0 && picture.height() > 0);
  }
}

void OpenAsMusic(const std::string& bytes) {
  Folder().WriteBytes(kiravel::kMusicFile, bytes);
  const std::string path = Folder().Path() + kiravel::kMusicFile;
  const bool checkerPasses = kiravel::check::WaveProblem(path).empty();
  kiravel::ScriptedPlatform platform;
  // The game's own commands to the device, as the music starts and loops.
  const std::int32_t opened =
      platform.mciSendString("open \"" + path + "\" alias MIDI", nullptr, 0);
  if (checkerPasses) Require(opened == 0);
  if (opened != 0) return;
  std::string mode;
  platform.mciSendString("play MIDI notify", nullptr, 0);
  platform.mciSendString("status MIDI mode", &mode, 15);
  platform.mciSendString("seek MIDI to start", nullptr, 0);
  platform.mciSendString("close MIDI notify", nullptr, 0);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
  // Picture decoders are plugins, found through the application object.
  static QCoreApplication application(*argc, *argv);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  DecodeAsPicture(bytes);
  OpenAsMusic(bytes);
  return 0;
}
