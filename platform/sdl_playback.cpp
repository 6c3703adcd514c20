#include "platform/sdl_playback.h"

#include <SDL.h>

#include <algorithm>
#include <cstring>

#include "platform/mci_codes.h"
#include "platform/wave_file.h"

namespace kiravel {

namespace {

class SdlPlayback : public Playback {
 public:
  SdlPlayback(PieceEnded ended, void* listener, const std::atomic<bool>* muted)
      : ended_(ended), listener_(listener), muted_(muted) {}
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
  const std::atomic<bool>* muted_;
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
  const bool muted = playback.muted_ != nullptr && *playback.muted_;
  const std::size_t heard = muted ? 0 : playback.wave_.Read(playback.next_, stream, taken);
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
  // A device buffer of a fortieth to a twentieth of a second (1024 frames
  // at the game's 22050 a second). The rest of the buffer the piece ends in
  // is silence before it starts again, so a shorter one would shorten that
  // gap, but wake the sound thread more often while the game stands idle;
  // and the restart must come back within one buffer.
  format.samples = 1;
  while (format.samples < format.freq / 40 && format.samples < 8192) format.samples *= 2;
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
                                          const std::atomic<bool>* muted) {
  return std::make_unique<SdlPlayback>(ended, listener, muted);
}

extern "C" Playback* kiravel_music_playback(PieceEnded ended, void* listener,
                                            const std::atomic<bool>* muted) {
  return MakeSdlPlayback(ended, listener, muted).release();
}

}  // namespace kiravel
