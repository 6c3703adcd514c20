// The background music: one wave file, opened at start-up under the alias
// MIDI, played, and started again from its beginning whenever it has run
// to its end. Every command's result is ignored: without a sound device or
// without the file the game simply runs silent.
#include "core/fom.h"

namespace kiravel {

void Fom::OpenMusic(const std::string& path) {
  platform_.mciSendString("close MIDI notify", nullptr, 0);
  platform_.mciSendString("open \"" + path + "\" alias MIDI", nullptr, 0);
}

void Fom::PlayMusic() {
  if (!MusicOn) return;
  platform_.mciSendString("play MIDI notify", nullptr, 0);
}

void Fom::CloseMusic() { platform_.mciSendString("close MIDI notify", nullptr, 0); }

void Fom::BgmTim_Timer() {
  std::string reply(16, ' ');
  platform_.mciSendString("status MIDI mode", &reply, 15);
  if (UCase(Left(reply, 7)) == "STOPPED" && MusicOn) {
    platform_.mciSendString("seek MIDI to start", nullptr, 0);
    platform_.mciSendString("play MIDI from 0", nullptr, 0);
  }
}

}  // namespace kiravel
