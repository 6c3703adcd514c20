#include "platform/scripted_platform.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <sstream>

#include "platform/mci_codes.h"
#include "platform/picture_probe.h"
#include "core/vb.h"
#include "ui/controls.h"

namespace kiravel {

namespace {


std::uint32_t LittleEndian(const std::string& bytes, std::size_t at, int size) {
  std::uint32_t value = 0;
  for (int i = size - 1; i >= 0; --i) {
    value = (value << 8) | static_cast<unsigned char>(bytes[at + static_cast<std::size_t>(i)]);
  }
  return value;
}

// The playing time of a RIFF wave file in milliseconds, or -1 when the file
// is missing or is not one.
std::int64_t WaveLengthMs(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  if (!file) return -1;
  std::string bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  if (bytes.size() < 12 || bytes.compare(0, 4, "RIFF") != 0 || bytes.compare(8, 4, "WAVE") != 0)
    return -1;
  std::uint32_t byteRate = 0;
  std::int64_t dataSize = -1;
  for (std::size_t at = 12; at + 8 <= bytes.size();) {
    std::string id = bytes.substr(at, 4);
    std::uint32_t size = LittleEndian(bytes, at + 4, 4);
    std::size_t body = at + 8;
    if (id == "fmt " && body + 12 <= bytes.size()) byteRate = LittleEndian(bytes, body + 8, 4);
    if (id == "data") {
      dataSize = std::min<std::int64_t>(size, static_cast<std::int64_t>(bytes.size() - body));
      break;
    }
    at = body + size + (size & 1);
  }
  if (byteRate == 0 || dataSize < 0) return -1;
  return dataSize * 1000 / byteRate;
}

std::vector<std::string> Words(const std::string& command) {
  std::vector<std::string> words;
  std::istringstream in(command);
  for (std::string word; in >> word;) words.push_back(word);
  return words;
}

}  // namespace

ScriptedPlatform::ScriptedPlatform(std::uint64_t seed) : generator_(seed) {}

double ScriptedPlatform::Rnd() {
  if (!draws_.empty()) {
    double value = draws_.front();
    draws_.pop_front();
    return value;
  }
  // 53 random bits give every double of [0, 1) on the grid 2^-53.
  return static_cast<double>(generator_() >> 11) * 0x1.0p-53;
}

MsgBoxAnswer ScriptedPlatform::MsgBox(const std::string& text, MsgBoxButtons buttons) {
  MsgBoxAnswer queued = buttons == MsgBoxButtons::OK ? MsgBoxAnswer::OK : MsgBoxAnswer::No;
  if (!answers_.empty()) {
    queued = answers_.front();
    answers_.pop_front();
  }
  MsgBoxAnswer answer = MsgBoxAnswer::OK;
  if (buttons == MsgBoxButtons::YesNo) {
    answer = queued == MsgBoxAnswer::Yes ? MsgBoxAnswer::Yes : MsgBoxAnswer::No;
  }
  MessageBoxes.push_back(MessageBox{text, buttons, answer});
  if (OnMsgBox) OnMsgBox(MessageBoxes.back());
  return answer;
}

void ScriptedPlatform::ReportFailure(const std::string& text) {
  MsgBox(text, MsgBoxButtons::OK);
  Failures.push_back(text);
  if (OnFailure) OnFailure(text);
}

std::int32_t ScriptedPlatform::mciSendString(const std::string& command, std::string* reply,
                                             int replyLength) {
  std::string answer;
  std::int32_t result = Mci(command, &answer);
  if (reply != nullptr && result == mci::kOk && !answer.empty()) {
    std::size_t n = std::min<std::size_t>(answer.size(), static_cast<std::size_t>(std::max(0, replyLength)));
    if (reply->size() < n) reply->resize(n, ' ');
    reply->replace(0, n, answer.substr(0, n));
  }
  if (OnMci && command.rfind("status ", 0) != 0) OnMci(command, result);
  return result;
}

std::int32_t ScriptedPlatform::Mci(const std::string& command, std::string* reply) {
  std::vector<std::string> words = Words(command);
  if (words.empty()) return mci::kUnrecognizedCommand;
  const std::string& verb = words[0];
  if (verb == "open") {
    std::size_t first = command.find('"');
    std::size_t last = command.find('"', first + 1);
    std::size_t aliasAt = command.find(" alias ");
    if (first == std::string::npos || last == std::string::npos || aliasAt == std::string::npos)
      return mci::kUnrecognizedCommand;
    std::string alias = Words(command.substr(aliasAt + 7)).at(0);
    std::int64_t length = WaveLengthMs(command.substr(first + 1, last - first - 1));
    if (length < 0) return length == -1 ? mci::kFileNotFound : mci::kCannotLoadDriver;
    devices_.push_back(Device{alias, length, false, 0, 0});
    return mci::kOk;
  }
  if (words.size() < 2) return mci::kUnrecognizedCommand;
  auto device = std::find_if(devices_.begin(), devices_.end(),
                             [&](const Device& d) { return d.alias == words[1]; });
  if (device == devices_.end()) return mci::kInvalidDeviceName;
  // Where playback stands now: a playing device stops at the end of its file.
  if (device->playing) {
    std::int64_t at = device->positionMs + (NowMs - device->startedMs);
    if (at >= device->lengthMs) {
      device->playing = false;
      device->positionMs = device->lengthMs;
    }
  }
  if (verb == "close") {
    devices_.erase(device);
    return mci::kOk;
  }
  if (verb == "status" && words.size() >= 3 && words[2] == "mode") {
    *reply = device->playing ? "playing" : "stopped";
    return mci::kOk;
  }
  if (verb == "seek" && words.size() >= 4 && words[2] == "to" && words[3] == "start") {
    device->playing = false;
    device->positionMs = 0;
    return mci::kOk;
  }
  if (verb == "play") {
    if (words.size() >= 4 && words[2] == "from") device->positionMs = static_cast<std::int64_t>(Val(words[3]));
    if (!device->playing) {
      device->playing = device->positionMs < device->lengthMs;
      device->startedMs = NowMs;
    }
    return mci::kOk;
  }
  return mci::kUnrecognizedCommand;
}

namespace {
class ProbedImage : public Image {};
}  // namespace

std::shared_ptr<const Image> ScriptedPlatform::LoadPicture(const std::string& path) {
  std::optional<PictureInfo> info = ProbePictureFile(path);
  if (!info) return nullptr;
  auto image = std::make_shared<ProbedImage>();
  image->Width = info->Width;
  image->Height = info->Height;
  return image;
}

const MenuItem* ScriptedPlatform::PopupMenu(const MenuItem& /*root*/) {
  if (menuChoices_.empty()) return nullptr;
  const MenuItem* choice = menuChoices_.front();
  menuChoices_.pop_front();
  return choice;
}

bool ScriptedPlatform::SetWindowWidth(std::int32_t twips) {
  if (Fixed) return false;
  Place.Width = twips;
  Place.ClientWidth = twips;
  return true;
}

bool ScriptedPlatform::SetWindowLeft(std::int32_t twips) {
  if (Fixed) return false;
  Place.Left = twips;
  return true;
}

bool ScriptedPlatform::SetWindowTop(std::int32_t twips) {
  if (Fixed) return false;
  Place.Top = twips;
  return true;
}

void ScriptedPlatform::SetWindowHeight(std::int32_t twips) {
  Place.Height = twips;
  Place.ClientHeight = twips;
}

}  // namespace kiravel
