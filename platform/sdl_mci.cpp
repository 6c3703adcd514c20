#include "platform/sdl_mci.h"

#include "platform/mci_codes.h"

#include <SDL.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <cstring>
#include <future>
#include <memory>
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

bool Finished(const std::future<std::int32_t>& work) {
  return work.wait_for(std::chrono::seconds(0)) == std::future_status::ready;
}

// A plain "play ALIAS [notify]", which starts the piece from its beginning
// after an open.
bool PlainPlay(const std::vector<std::string>& words, const std::string& alias) {
  return words.size() >= 2 && words[0] == "play" && words[1] == alias &&
         std::find(words.begin() + 2, words.end(), "from") == words.end();
}

bool StatusMode(const std::vector<std::string>& words, const std::string& alias) {
  return words.size() >= 3 && words[0] == "status" && words[1] == alias && words[2] == "mode";
}

// The decoded wave as SDL hands it over, kept without a copy.
struct Wave {
  struct Free {
    void operator()(Uint8* buffer) const { SDL_FreeWAV(buffer); }
  };
  std::unique_ptr<Uint8, Free> buffer;
  std::size_t length = 0;

  std::size_t size() const { return length; }
  const Uint8* data() const { return buffer.get(); }
  void clear() {
    buffer.reset();
    length = 0;
  }
};

}  // namespace

// One opened wave: its samples, an output device of its own format, and
// where in the samples the next play starts.
struct SdlMci::Device {
  bool audioReady = false;
  bool audioFailed = false;
  std::future<bool> starting;  // the audio system coming up early
  // An open carried out on the audio thread while the game goes on; until
  // it has finished only the opening* fields below are touched elsewhere.
  std::future<std::int32_t> opening;
  std::string openingAlias;
  bool openingPlay = false;  // a plain play came while it opened
  std::string alias;
  SDL_AudioDeviceID output = 0;
  SDL_AudioSpec sound{};  // the wave's rate, sample format and channels
  Wave samples;
  std::uint32_t frameBytes = 1;
  std::size_t queuedFrom = 0;  // byte offset where the last play started
  std::size_t next = 0;  // the next byte the device takes, under its lock
  bool playing = false;
  std::atomic<bool> muted{false};

  // The device reads the piece straight from the decoded samples, so the
  // piece is never held twice; past its end it hears silence.
  static void Feed(void* self, Uint8* stream, int length) {
    Device& d = *static_cast<Device*>(self);
    const auto wanted = static_cast<std::size_t>(length);
    const std::size_t left = d.next < d.samples.size() ? d.samples.size() - d.next : 0;
    const std::size_t taken = std::min(wanted, left);
    const std::size_t heard = d.muted ? 0 : taken;
    if (heard > 0) std::memcpy(stream, d.samples.data() + d.next, heard);
    std::memset(stream + heard, d.sound.format == AUDIO_U8 ? 0x80 : 0, wanted - heard);
    d.next += taken;
  }

  bool AllHandedOver() {
    SDL_LockAudioDevice(output);
    const bool done = next >= samples.size();
    SDL_UnlockAudioDevice(output);
    return done;
  }

  ~Device() {
    if (opening.valid()) opening.get();
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

  // Stops the device once it has taken the last sample, so that the answer
  // to "status" turns to stopped exactly at the end of the piece.
  void Refresh() {
    if (!playing || !AllHandedOver()) return;
    SDL_PauseAudioDevice(output, 1);
    queuedFrom = samples.size();
    playing = false;
  }

  void Rewind() {
    SDL_PauseAudioDevice(output, 1);
    queuedFrom = 0;
    playing = false;
  }

  std::int32_t PlayFrom(std::size_t offset) {
    offset -= offset % frameBytes;
    queuedFrom = std::min(offset, samples.size());
    playing = queuedFrom < samples.size();
    if (!playing) return kOk;
    SDL_LockAudioDevice(output);
    next = queuedFrom;
    SDL_UnlockAudioDevice(output);
    SDL_PauseAudioDevice(output, 0);
    return kOk;
  }

  std::int32_t Open(const std::string& path, const std::string& name);
  std::int32_t OpenBeside(const std::string& path, const std::string& name);
  bool AnswerWhileOpening(const std::vector<std::string>& words, std::string* reply);
  void FinishOpening();
  std::int32_t Play(const std::vector<std::string>& words);
};

std::int32_t SdlMci::Device::Open(const std::string& path, const std::string& name) {
  if (!alias.empty()) return kDuplicateAlias;
  if (!EnsureAudio()) return kCannotLoadDriver;
  SDL_RWops* file = SDL_RWFromFile(path.c_str(), "rb");
  if (file == nullptr) return kFileNotFound;
  Uint8* buffer = nullptr;
  Uint32 length = 0;
  if (SDL_LoadWAV_RW(file, 1, &sound, &buffer, &length) == nullptr) return kInvalidFile;
  samples.buffer.reset(buffer);
  samples.length = length;
  sound.callback = &Feed;
  sound.userdata = this;
  // A short device buffer: the end of the piece is noticed, and the loop
  // restarted, within a few hundredths of a second.
  sound.samples = 1024;
  output = SDL_OpenAudioDevice(nullptr, 0, &sound, nullptr, 0);
  if (output == 0) {
    samples.clear();
    return kHardware;
  }
  frameBytes = std::max<std::uint32_t>(1, SDL_AUDIO_BITSIZE(sound.format) / 8 * sound.channels);
  alias = name;
  return kOk;
}

// While the audio system is still starting, the piece is loaded and its
// device opened on the audio thread, so the window need not wait for the
// sound card. The open is taken as done; should it fail, the alias stays
// unknown and later commands fail as after a failed open.
std::int32_t SdlMci::Device::OpenBeside(const std::string& path, const std::string& name) {
  if (!starting.valid() || !alias.empty()) return Open(path, name);
  openingAlias = name;
  openingPlay = false;
  opening = std::async(std::launch::async, [this, path, name] { return Open(path, name); });
  return kOk;
}

// The play that follows the open is remembered and started once the device
// is there, and the music timer hears "playing" meanwhile. Returns false for
// any other command, which then has to wait for the open.
bool SdlMci::Device::AnswerWhileOpening(const std::vector<std::string>& words,
                                        std::string* reply) {
  if (Finished(opening)) return false;
  if (PlainPlay(words, openingAlias)) {
    openingPlay = true;
    return true;
  }
  if (!openingPlay || !StatusMode(words, openingAlias)) return false;
  if (reply != nullptr) *reply = "playing";
  return true;
}

void SdlMci::Device::FinishOpening() {
  const bool opened = opening.get() == kOk;
  if (opened && openingPlay) PlayFrom(0);
  openingAlias.clear();
  openingPlay = false;
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
  std::uint64_t bytesPerSecond = static_cast<std::uint64_t>(sound.freq) * frameBytes;
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

void SdlMci::SetMuted(bool muted) { device_->muted = muted; }

std::int32_t SdlMci::Send(const std::string& command, std::string* reply) {
  std::vector<std::string> words = Words(command);
  if (words.empty()) return kUnrecognizedCommand;
  Device& d = *device_;
  if (d.opening.valid()) {
    if (d.AnswerWhileOpening(words, reply)) return kOk;
    d.FinishOpening();
  }
  if (words[0] == "open") {
    std::string path, alias;
    if (!ParseOpen(command, &path, &alias)) return kMissingParameter;
    return d.OpenBeside(path, alias);
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
