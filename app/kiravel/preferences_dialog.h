// The window's own settings in one small dialog: how the story reads on by
// itself, how loud the music is, and the full screen. The game's own
// settings (the text speed) stay in the game's menu and its save.
#pragma once

#include <QDialog>

class QCheckBox;
class QDoubleSpinBox;
class QSlider;
class QSpinBox;
class QVBoxLayout;

namespace kiravel::qt {

struct PreferenceValues {
  bool autoAdvance = false;
  int baseDelayMs = 1500;
  int perCharacterMs = 60;
  bool skipUnread = false;
  int volume = 100;  // percent
  bool muted = false;
  bool fullScreen = false;
  bool slowBattles = false;
};

class PreferencesDialog : public QDialog {
 public:
  PreferencesDialog(const PreferenceValues& values, QWidget* parent);
  // What the dialog shows now.
  PreferenceValues Chosen() const;

 private:
  // Each group of settings is a titled box of labelled rows.
  void AddReadingGroup(QVBoxLayout& column, const PreferenceValues& values);
  void AddMusicGroup(QVBoxLayout& column, const PreferenceValues& values);
  void AddScreenGroup(QVBoxLayout& column, const PreferenceValues& values);
  void AddBattleGroup(QVBoxLayout& column, const PreferenceValues& values);

  QCheckBox* autoAdvance_ = nullptr;
  QDoubleSpinBox* baseDelay_ = nullptr;
  QSpinBox* perCharacter_ = nullptr;
  QCheckBox* skipUnread_ = nullptr;
  QSlider* volume_ = nullptr;
  QCheckBox* muted_ = nullptr;
  QCheckBox* fullScreen_ = nullptr;
  QCheckBox* slowBattles_ = nullptr;
};

}  // namespace kiravel::qt
