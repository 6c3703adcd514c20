#include "app/kiravel/window_preferences.h"

#include <QKeySequence>
#include <QShortcut>

#include <functional>

#include <algorithm>

#include "app/kiravel/story_reading.h"

namespace kiravel::qt {

namespace {

const QString kGeometry = QStringLiteral("window/geometry");
const QString kFullScreen = QStringLiteral("window/fullScreen");
const QString kMuted = QStringLiteral("sound/muted");
const QString kSlowBattles = QStringLiteral("battle/slow");
const QString kVolume = QStringLiteral("sound/volume");
const QString kAutoAdvance = QStringLiteral("reading/autoAdvance");
const QString kBaseDelay = QStringLiteral("reading/autoBaseDelayMs");
const QString kPerCharacter = QStringLiteral("reading/autoPerCharacterMs");
const QString kSkipUnread = QStringLiteral("reading/skipUnread");

void Shortcut(QWidget& window, const QKeySequence& keys, const std::function<void()>& act) {
  auto* shortcut = new QShortcut(keys, &window);
  QObject::connect(shortcut, &QShortcut::activated, act);
}

}  // namespace

WindowPreferences::WindowPreferences(QWidget& window, MusicThread& music, QSettings& settings,
                                     StoryReading* reading)
    : window_(window), music_(music), settings_(settings), reading_(reading) {
  Shortcut(window_, QKeySequence(Qt::Key_F11), [this] { ToggleFullScreen(); });
  Shortcut(window_, QKeySequence(Qt::CTRL | Qt::Key_M), [this] { ToggleMute(); });
  Shortcut(window_, QKeySequence(Qt::CTRL | Qt::Key_Comma), [this] { Edit(); });
  Shortcut(window_, QKeySequence(Qt::Key_F2), [this] { Edit(); });
}

void WindowPreferences::Restore(const StartChoices& choices) {
  const QByteArray geometry = settings_.value(kGeometry).toByteArray();
  if (!geometry.isEmpty()) window_.restoreGeometry(geometry);
  const bool fullScreen =
      choices.fullScreen.value_or(settings_.value(kFullScreen, false).toBool());
  window_.setWindowState(fullScreen ? window_.windowState() | Qt::WindowFullScreen
                                    : window_.windowState() & ~Qt::WindowFullScreen);
  SetMuted(choices.mute || settings_.value(kMuted, false).toBool());
  SetSlowBattles(choices.slowBattles || settings_.value(kSlowBattles, false).toBool());
  SetVolume(settings_.value(kVolume, 100).toInt());
  if (reading_ == nullptr) return;
  const PreferenceValues defaults;
  PagePacer::Settings chosen;
  chosen.baseDelayMs = std::max(0, settings_.value(kBaseDelay, defaults.baseDelayMs).toInt());
  chosen.perCharacterMs = std::max(0, settings_.value(kPerCharacter, defaults.perCharacterMs).toInt());
  chosen.skipUnread = settings_.value(kSkipUnread, defaults.skipUnread).toBool();
  reading_->Pacer().Choose(chosen);
  reading_->Pacer().SetAutoAdvance(settings_.value(kAutoAdvance, false).toBool());
}

void WindowPreferences::Remember() {
  settings_.setValue(kGeometry, window_.saveGeometry());
  settings_.setValue(kFullScreen, window_.isFullScreen());
  settings_.setValue(kMuted, muted_);
  settings_.setValue(kSlowBattles, slowBattles_);
  settings_.setValue(kVolume, volume_);
  if (reading_ != nullptr) {
    const PagePacer& pacer = reading_->Pacer();
    settings_.setValue(kAutoAdvance, pacer.AutoAdvance());
    settings_.setValue(kBaseDelay, pacer.Chosen().baseDelayMs);
    settings_.setValue(kPerCharacter, pacer.Chosen().perCharacterMs);
    settings_.setValue(kSkipUnread, pacer.Chosen().skipUnread);
  }
  settings_.sync();
}

void WindowPreferences::ToggleFullScreen() {
  window_.setWindowState(window_.windowState() ^ Qt::WindowFullScreen);
}

void WindowPreferences::ToggleMute() { SetMuted(!muted_); }

void WindowPreferences::SetMuted(bool muted) {
  muted_ = muted;
  music_.SetMuted(muted);
}

void WindowPreferences::SetSlowBattles(bool slow) {
  slowBattles_ = slow;
  if (followSlowBattles_) followSlowBattles_(slow);
}

void WindowPreferences::SetVolume(int percent) {
  volume_ = std::clamp(percent, 0, 100);
  music_.SetVolume(volume_);
}

PreferenceValues WindowPreferences::Current() const {
  PreferenceValues values;
  values.volume = volume_;
  values.muted = muted_;
  values.fullScreen = window_.isFullScreen();
  values.slowBattles = slowBattles_;
  if (reading_ != nullptr) {
    PagePacer& pacer = reading_->Pacer();
    values.autoAdvance = pacer.AutoAdvance();
    values.baseDelayMs = pacer.Chosen().baseDelayMs;
    values.perCharacterMs = pacer.Chosen().perCharacterMs;
    values.skipUnread = pacer.Chosen().skipUnread;
  }
  return values;
}

void WindowPreferences::Apply(const PreferenceValues& values) {
  SetVolume(values.volume);
  SetMuted(values.muted);
  if (values.fullScreen != window_.isFullScreen()) ToggleFullScreen();
  SetSlowBattles(values.slowBattles);
  if (reading_ == nullptr) return;
  reading_->Pacer().Choose({values.baseDelayMs, values.perCharacterMs, values.skipUnread});
  reading_->Pacer().SetAutoAdvance(values.autoAdvance);
}

void WindowPreferences::Edit() {
  PreferencesDialog dialog(Current(), &window_);
  if (dialog.exec() == QDialog::Accepted) {
    Apply(dialog.Chosen());
    Remember();
  }
  if (reading_ != nullptr) reading_->Reconsider();
}

}  // namespace kiravel::qt
