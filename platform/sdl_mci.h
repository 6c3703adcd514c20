// The music device of the game program: an interpreter of the six MCI
// command strings the game sends, over SDL2 audio. One alias at a time holds
// a wave file; "status ... mode" answers "playing" or "stopped".
#pragma once

#include <cstdint>
#include <memory>
#include <string>

namespace kiravel {

class SdlMci {
 public:
  SdlMci();
  ~SdlMci();
  SdlMci(const SdlMci&) = delete;
  SdlMci& operator=(const SdlMci&) = delete;

  // Starts the audio system on a thread of its own, so that the game's
  // window and the sound device get ready side by side. The first "open"
  // then loads the piece and opens the device on that side as well and is
  // answered at once; a plain "play" and "status" of that alias are answered
  // without waiting for it, any other command waits.
  void StartAudioEarly();

  // Carries out one command; the reply (for "status") goes into *reply.
  // Returns 0 on success or an MCI error code. Without an audio device or
  // a readable wave file, commands fail quietly with an error code.
  std::int32_t Send(const std::string& command, std::string* reply);

  // A muted device goes on playing the piece in silence, so the game hears
  // the same answers to its commands either way.
  void SetMuted(bool muted);

 private:
  struct Device;
  std::unique_ptr<Device> device_;
};

}  // namespace kiravel
