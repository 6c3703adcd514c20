#include "platform/sdl_mci.h"

#include "platform/mci_codes.h"

#include <SDL.h>

#include <algorithm>
#include <future>
#include <cstdint>
#include <sstream>
#include <vector>

namespace kiravel {

namespace {

using namespace mci;

std::vector<std::string> Words(const std::string& text) {
  std::vector<std::string> words;
  std::istringstream in(text);
  for (std::string word; in >> word;) words.push_back(word);
  return words;
}

// "open "path" alias NAME": the path between the quotes and the alias after.
bool ParseOpen(const std::string& command, std::string* path, std::string* alias) {
  std::size_t first = command.find('"');
  if (first == std::string::npos) return false;
  std::size_t last = command.find('"', first + 1);
  if (last == std::string::npos) return false;
  std::vector<std::string> rest = Words(command.substr(last + 1));
  if (rest.size() < 2 || rest[0] != "alias") return false;
  *path = command.substr(first + 1, last - first - 1);
  *alias = rest[1];
  return true;
}

bool ParseMilliseconds(const std::string& text, std::int64_t* value) {
  if (text.empty() || text.size() > 12) return false;
  if (!std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; }))
    return false;
  *value = std::stoll(text);
  return true;
}

}  // namespace

// One opened wave: its samples, an output device of its own format, and
// where in the samples the next play starts.
struct SdlMci::Device {
  bool audioReady = false;
  bool audioFailed = false;
  std::future<bool> starting;  // the audio system coming up early
  std::string alias;
  SDL_AudioDeviceID output = 0;
  SDL_AudioSpec spec{};
  std::vector<Uint8> samples;
  std::uint32_t frameBytes = 1;
  std::size_t queuedFrom = 0;  // byte offset where the last play started
  bool playing = false;

  ~Device() {
    if (starting.valid()) audioReady = starting.get();
    Close();
    if (audioReady) SDL_QuitSubSystem(SDL_INIT_AUDIO);
  }

  static bool StartAudio() {
    // Left to itself SDL would take SIGINT and SIGTERM once audio starts,
    // and the game could no longer be ended from outside.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    return SDL_InitSubSystem(SDL_INIT_AUDIO) == 0;
  }

  bool EnsureAudio() {
    if (audioReady) return true;
    if (audioFailed) return false;
    audioReady = starting.valid() ? starting.get() : StartAudio();
    audioFailed = !audioReady;
    return audioReady;
  }

  void Close() {
    if (output != 0) SDL_CloseAudioDevice(output);
    output = 0;
    alias.clear();
    samples.clear();
    queuedFrom = 0;
    playing = false;
  }

  // Stops the device once the last sample has left the queue, so that the
  // answer to "status" turns to stopped exactly at the end of the piece.
  void Refresh() {
    if (!playing || SDL_GetQueuedAudioSize(output) > 0) return;
    SDL_PauseAudioDevice(output, 1);
    queuedFrom = samples.size();
    playing = false;
  }

  void Rewind() {
    SDL_PauseAudioDevice(output, 1);
    SDL_ClearQueuedAudio(output);
    queuedFrom = 0;
    playing = false;
  }

  std::int32_t PlayFrom(std::size_t offset) {
    offset -= offset % frameBytes;
    SDL_ClearQueuedAudio(output);
    queuedFrom = std::min(offset, samples.size());
    const std::size_t bytes = samples.size() - queuedFrom;
    playing = bytes > 0;
    if (!playing) return kOk;
    if (SDL_QueueAudio(output, samples.data() + queuedFrom, static_cast<Uint32>(bytes)) != 0) {
      playing = false;
      return kHardware;
    }
    SDL_PauseAudioDevice(output, 0);
    return kOk;
  }

  std::int32_t Open(const std::string& path, const std::string& name);
  std::int32_t Play(const std::vector<std::string>& words);
};

std::int32_t SdlMci::Device::Open(const std::string& path, const std::string& name) {
  if (!alias.empty()) return kDuplicateAlias;
  if (!EnsureAudio()) return kCannotLoadDriver;
  SDL_RWops* file = SDL_RWFromFile(path.c_str(), "rb");
  if (file == nullptr) return kFileNotFound;
  Uint8* buffer = nullptr;
  Uint32 length = 0;
  if (SDL_LoadWAV_RW(file, 1, &spec, &buffer, &length) == nullptr) return kInvalidFile;
  samples.assign(buffer, buffer + length);
  SDL_FreeWAV(buffer);
  spec.callback = nullptr;
  spec.userdata = nullptr;
  // A short device buffer: the end of the piece is noticed, and the loop
  // restarted, within a few hundredths of a second.
  spec.samples = 1024;
  output = SDL_OpenAudioDevice(nullptr, 0, &spec, nullptr, 0);
  if (output == 0) {
    samples.clear();
    return kHardware;
  }
  frameBytes = std::max<std::uint32_t>(1, SDL_AUDIO_BITSIZE(spec.format) / 8 * spec.channels);
  alias = name;
  return kOk;
}

// "play A [notify]" starts at the beginning after an open or a seek and
// leaves a playing or finished piece as it is; "play A from MS" starts at
// that many milliseconds into the piece.
std::int32_t SdlMci::Device::Play(const std::vector<std::string>& words) {
  auto from = std::find(words.begin() + 2, words.end(), "from");
  if (from == words.end()) {
    if (playing) return kOk;
    return PlayFrom(queuedFrom);
  }
  std::int64_t milliseconds = 0;
  if (from + 1 == words.end()) return kMissingParameter;
  if (!ParseMilliseconds(*(from + 1), &milliseconds)) return kOutOfRange;
  std::uint64_t bytesPerSecond = static_cast<std::uint64_t>(spec.freq) * frameBytes;
  std::uint64_t offset = static_cast<std::uint64_t>(milliseconds) * bytesPerSecond / 1000;
  if (offset > samples.size()) return kOutOfRange;
  return PlayFrom(static_cast<std::size_t>(offset));
}

SdlMci::SdlMci() : device_(std::make_unique<Device>()) {}

SdlMci::~SdlMci() = default;

void SdlMci::StartAudioEarly() {
  if (device_->audioReady || device_->audioFailed || device_->starting.valid()) return;
  device_->starting = std::async(std::launch::async, &Device::StartAudio);
}

std::int32_t SdlMci::Send(const std::string& command, std::string* reply) {
  std::vector<std::string> words = Words(command);
  if (words.empty()) return kUnrecognizedCommand;
  Device& d = *device_;
  if (words[0] == "open") {
    std::string path, alias;
    if (!ParseOpen(command, &path, &alias)) return kMissingParameter;
    return d.Open(path, alias);
  }
  if (words.size() < 2) return kMissingParameter;
  if (d.alias.empty() || words[1] != d.alias) return kInvalidDeviceName;
  d.Refresh();
  if (words[0] == "close") {
    d.Close();
    return kOk;
  }
  if (words[0] == "play") return d.Play(words);
  if (words[0] == "seek" && words.size() >= 4 && words[2] == "to" && words[3] == "start") {
    d.Rewind();
    return kOk;
  }
  if (words[0] == "status" && words.size() >= 3 && words[2] == "mode") {
    if (reply != nullptr) *reply = d.playing ? "playing" : "stopped";
    return kOk;
  }
  return kUnrecognizedCommand;
}

}  // namespace kiravel
