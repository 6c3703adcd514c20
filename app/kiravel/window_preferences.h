// What the window remembers between runs: its place and size, whether it
// fills the screen, the music's volume and whether it is muted, whether
// battles are slow, and how the story reads on by itself. The game's own
// state is never kept here. F11 toggles full screen and Ctrl+M the music
// while playing; Ctrl+, and F2 open the preferences.
#pragma once

#include <QSettings>
#include <QWidget>

#include <functional>
#include <optional>
#include <utility>

#include "app/kiravel/music_thread.h"
#include "app/kiravel/preferences_dialog.h"

namespace kiravel::qt {

class StoryReading;

// Choices from the command line; each one that is set wins over what was
// remembered.
struct StartChoices {
  std::optional<bool> fullScreen;  // --fullscreen or --window
  bool mute = false;               // --mute
  bool slowBattles = false;        // --slow-battles
};

// Slow battles, for a player who listens to a screen reader: the monster
// strikes this many times more slowly in the window, so that each blow can
// be heard before it is answered. The battle's rules are the same ones.
inline constexpr int kSlowBattleFactor = 3;
// A recording of a game with slow battles says so, and its replay in the
// window is slowed as well.
inline constexpr char kSlowBattlesRemark[] = "slow battles: the monster strikes every 3 seconds";

class WindowPreferences {
 public:
  // With reading, the game window's auto-advance and fast-forward follow
  // the preferences too.
  WindowPreferences(QWidget& window, MusicThread& music, QSettings& settings,
                    StoryReading* reading = nullptr);

  // Puts the window where it was last time and sets the music and the
  // reading as they were, then applies the command line's choices. Call
  // before the window shows.
  void Restore(const StartChoices& choices);
  // Writes the window's state now, for the next run.
  void Remember();

  void ToggleFullScreen();
  void ToggleMute();
  bool Muted() const { return muted_; }
  // Off unless the player has chosen it.
  bool SlowBattles() const { return slowBattles_; }
  // The game window follows the choice, from Restore on.
  void FollowSlowBattles(std::function<void(bool slow)> follow) { followSlowBattles_ = std::move(follow); }
  int Volume() const { return volume_; }
  // The preferences as they stand, and as the dialog chose them.
  PreferenceValues Current() const;
  void Apply(const PreferenceValues& values);
  // The preferences dialog, over the window; what it chose is applied and
  // remembered at once.
  void Edit();

 private:
  void SetMuted(bool muted);
  void SetVolume(int percent);
  void SetSlowBattles(bool slow);

  QWidget& window_;
  MusicThread& music_;
  QSettings& settings_;
  StoryReading* reading_;
  bool muted_ = false;
  bool slowBattles_ = false;
  std::function<void(bool)> followSlowBattles_;
  int volume_ = 100;
};

}  // namespace kiravel::qt
