// What the window remembers between runs: its place and size, whether it
// fills the screen, and whether the music is muted. The game's own state is
// never kept here. F11 toggles full screen and Ctrl+M the music while playing.
#pragma once

#include <QSettings>
#include <QWidget>

#include <optional>

#include "app/kiravel/music_thread.h"

namespace kiravel::qt {

// Choices from the command line; each one that is set wins over what was
// remembered.
struct StartChoices {
  std::optional<bool> fullScreen;  // --fullscreen or --window
  bool mute = false;               // --mute
};

class WindowPreferences {
 public:
  WindowPreferences(QWidget& window, MusicThread& music, QSettings& settings);

  // Puts the window where it was last time and mutes the music as it was,
  // then applies the command line's choices. Call before the window shows.
  void Restore(const StartChoices& choices);
  // Writes the window's state now, for the next run.
  void Remember();

  void ToggleFullScreen();
  void ToggleMute();
  bool Muted() const { return muted_; }

 private:
  void SetMuted(bool muted);

  QWidget& window_;
  MusicThread& music_;
  QSettings& settings_;
  bool muted_ = false;
};

}  // namespace kiravel::qt
