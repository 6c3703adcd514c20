// Picture and music files of any bytes: the picture probe reads only the
// header it recognises, and a wave the data checker passes is one the
// game's music device opens.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "app/kiravel-check/media_check.h"
#include "platform/picture_probe.h"
#include "platform/scripted_platform.h"
#include "tests/game_fixture.h"

namespace {

void Require(bool holds) {
  if (!holds) std::abort();
}

const kiravel::testing::DataFolder& Folder() {
  static const kiravel::testing::DataFolder folder;
  return folder;
}

void ProbeAsPicture(std::string_view bytes) {
  const std::optional<kiravel::PictureInfo> info = kiravel::ProbePicture(bytes);
  if (info) Require(info->Width > 0 && info->Height > 0);
}

void OpenAsMusic(const std::string& bytes) {
  Folder().WriteBytes("bgm.wav", bytes);
  const std::string path = Folder().Path() + "bgm.wav";
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

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  ProbeAsPicture(bytes);
  OpenAsMusic(bytes);
  return 0;
}
