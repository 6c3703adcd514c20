#include "platform/sdl_playback.h"

#include <SDL.h>

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "platform/mci_codes.h"
#include "platform/wave_file.h"

namespace kiravel {

namespace {

// The sound card's buffer, in frames: what the card takes at each wake of
// the sound thread. The piece ends somewhere in one buffer, and the rest of
// that buffer is silence before the piece starts again with the next; so
// the buffer is cut for the piece to fill a whole number of them, or to
// leave the shortest rest, and among those the longest, from a fortieth to
// a fifth of a second, is taken: it wakes the sound thread least while the
// game stands idle, and leaves the game the most time to start the piece
// again before the next buffer is due.
Uint16 BufferFrames(std::int64_t frames, int rate) {
  const int shortest = std::clamp(rate / 40, 1, 8192);
  const int longest = std::clamp(rate / 5, shortest, 8192);
  int best = longest;
  std::int64_t bestRest = -1;
  for (int size = longest; size >= shortest; --size) {
    const std::int64_t rest = (size - frames % size) % size;
    if (bestRest < 0 || rest < bestRest) {
      best = size;
      bestRest = rest;
    }
  }
  return static_cast<Uint16>(best);
}

// A sample of `bytes` bytes at `at`, as a number centred on silence.
std::int64_t SampleAt(const Uint8* at, int bytes, SDL_AudioFormat format) {
  std::uint32_t raw = 0;
  const bool big = SDL_AUDIO_ISBIGENDIAN(format);
  for (int i = 0; i < bytes; ++i) raw |= std::uint32_t{at[big ? i : bytes - 1 - i]} << (8 * (bytes - 1 - i));
  const std::uint32_t sign = std::uint32_t{1} << (8 * bytes - 1);
  if (!SDL_AUDIO_ISSIGNED(format)) return static_cast<std::int64_t>(raw) - sign;
  return (raw & sign) != 0 ? static_cast<std::int64_t>(raw) - 2 * static_cast<std::int64_t>(sign)
                           : static_cast<std::int64_t>(raw);
}

void PutSample(Uint8* at, int bytes, SDL_AudioFormat format, std::int64_t value) {
  const std::uint32_t sign = std::uint32_t{1} << (8 * bytes - 1);
  const auto raw = static_cast<std::uint32_t>(SDL_AUDIO_ISSIGNED(format) ? value : value + sign);
  const bool big = SDL_AUDIO_ISBIGENDIAN(format);
  for (int i = 0; i < bytes; ++i) {
    at[big ? i : bytes - 1 - i] = static_cast<Uint8>(raw >> (8 * (bytes - 1 - i)));
  }
}

// The samples the card takes, turned down to the percent of their
// loudness, towards the format's silence.
void TurnDown(Uint8* samples, std::size_t length, SDL_AudioFormat format, int percent) {
  const int bytes = SDL_AUDIO_BITSIZE(format) / 8;
  if (bytes <= 0) return;
  for (std::size_t at = 0; at + bytes <= length; at += bytes) {
    if (SDL_AUDIO_ISFLOAT(format) && bytes == 4) {
      float sample = 0;
      std::memcpy(&sample, samples + at, 4);
      sample = sample * static_cast<float>(percent) / 100.0f;
      std::memcpy(samples + at, &sample, 4);
      continue;
    }
    PutSample(samples + at, bytes, format, SampleAt(samples + at, bytes, format) * percent / 100);
  }
}

class SdlPlayback : public Playback {
 public:
  SdlPlayback(PieceEnded ended, void* listener, const MusicLevel* level)
      : ended_(ended), listener_(listener), level_(level) {}
  ~SdlPlayback() override {
    Unload();
    // Everything SDL started is shut down with the music, so nothing of it
    // outlives the window.
    if (audio_) SDL_Quit();
  }

  std::int32_t Load(const std::string& path, PieceLength* length) override;
  void Unload() override;
  void Start(std::int64_t frame) override;
  void Stop() override;
  bool Sounding() override;

 private:
  static void Feed(void* self, Uint8* stream, int length);
  bool StartAudio();

  PieceEnded ended_;
  void* listener_;
  const MusicLevel* level_;
  bool audio_ = false;
  SDL_AudioDeviceID output_ = 0;
  WaveFile wave_;
  // Under the device's lock: the next byte the sound card takes, and
  // whether the piece sounds (cleared by the feed at its end).
  std::size_t next_ = 0;
  bool sounding_ = false;
};

// The device takes the piece straight from the wave, so it is never held
// twice; past its end it hears silence.
void SdlPlayback::Feed(void* self, Uint8* stream, int length) {
  auto& playback = *static_cast<SdlPlayback*>(self);
  const std::size_t size = playback.wave_.Bytes;
  const auto wanted = static_cast<std::size_t>(length);
  const std::size_t taken = playback.sounding_ ? std::min(wanted, size - playback.next_) : 0;
  const bool muted = playback.level_ != nullptr && playback.level_->muted;
  const std::size_t heard = muted ? 0 : playback.wave_.Read(playback.next_, stream, taken);
  const int percent = playback.level_ != nullptr ? std::clamp(playback.level_->percent.load(), 0, 100) : 100;
  if (percent < 100) TurnDown(stream, heard, playback.wave_.Format.format, percent);
  const int silence = playback.wave_.Format.format == AUDIO_U8 ? 0x80 : 0;
  std::memset(stream + heard, silence, wanted - heard);
  playback.next_ += taken;
  if (playback.sounding_ && playback.next_ >= size) {
    playback.sounding_ = false;
    playback.ended_(playback.listener_);
  }
}

bool SdlPlayback::StartAudio() {
  if (audio_) return true;
  // Left to itself SDL would take SIGINT and SIGTERM once audio starts, and
  // the game could no longer be ended from outside.
  SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
  audio_ = SDL_InitSubSystem(SDL_INIT_AUDIO) == 0;
  if (!audio_) SDL_Quit();
  return audio_;
}

std::int32_t SdlPlayback::Load(const std::string& path, PieceLength* length) {
  if (!StartAudio()) return mci::kCannotLoadDriver;
  wave_ = ReadWaveFile(path);
  if (wave_.Result != mci::kOk) return wave_.Result;
  SDL_AudioSpec format = wave_.Format;
  format.callback = &Feed;
  format.userdata = this;
  format.samples = BufferFrames(wave_.Frames(), wave_.Format.freq);
  output_ = SDL_OpenAudioDevice(nullptr, 0, &format, nullptr, 0);
  if (output_ == 0) {
    wave_ = WaveFile{};
    return mci::kHardware;
  }
  *length = PieceLength{wave_.Frames(), wave_.Format.freq};
  return mci::kOk;
}

void SdlPlayback::Unload() {
  if (output_ != 0) SDL_CloseAudioDevice(output_);
  output_ = 0;
  wave_ = WaveFile{};
  next_ = 0;
  sounding_ = false;
}

void SdlPlayback::Start(std::int64_t frame) {
  SDL_LockAudioDevice(output_);
  next_ = static_cast<std::size_t>(frame) * wave_.FrameBytes();
  sounding_ = true;
  SDL_UnlockAudioDevice(output_);
  SDL_PauseAudioDevice(output_, 0);
}

void SdlPlayback::Stop() {
  SDL_LockAudioDevice(output_);
  sounding_ = false;
  SDL_UnlockAudioDevice(output_);
  SDL_PauseAudioDevice(output_, 1);
}

bool SdlPlayback::Sounding() {
  SDL_LockAudioDevice(output_);
  const bool sounding = sounding_;
  SDL_UnlockAudioDevice(output_);
  return sounding;
}

}  // namespace

std::unique_ptr<Playback> MakeSdlPlayback(PieceEnded ended, void* listener,
                                          const MusicLevel* level) {
  return std::make_unique<SdlPlayback>(ended, listener, level);
}

extern "C" Playback* kiravel_music_playback(PieceEnded ended, void* listener,
                                            const MusicLevel* level) {
  return MakeSdlPlayback(ended, listener, level).release();
}

}  // namespace kiravel
