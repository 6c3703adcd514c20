#include "app/kiravel/window_preferences.h"

#include <QKeySequence>
#include <QShortcut>

namespace kiravel::qt {

namespace {

const QString kGeometry = QStringLiteral("window/geometry");
const QString kFullScreen = QStringLiteral("window/fullScreen");
const QString kMuted = QStringLiteral("sound/muted");
const QString kSlowBattles = QStringLiteral("battle/slow");

}  // namespace

WindowPreferences::WindowPreferences(QWidget& window, MusicThread& music, QSettings& settings)
    : window_(window), music_(music), settings_(settings) {
  auto* fullScreen = new QShortcut(QKeySequence(Qt::Key_F11), &window_);
  QObject::connect(fullScreen, &QShortcut::activated, [this] { ToggleFullScreen(); });
  auto* mute = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_M), &window_);
  QObject::connect(mute, &QShortcut::activated, [this] { ToggleMute(); });
}

void WindowPreferences::Restore(const StartChoices& choices) {
  const QByteArray geometry = settings_.value(kGeometry).toByteArray();
  if (!geometry.isEmpty()) window_.restoreGeometry(geometry);
  const bool fullScreen =
      choices.fullScreen.value_or(settings_.value(kFullScreen, false).toBool());
  window_.setWindowState(fullScreen ? window_.windowState() | Qt::WindowFullScreen
                                    : window_.windowState() & ~Qt::WindowFullScreen);
  SetMuted(choices.mute || settings_.value(kMuted, false).toBool());
  slowBattles_ = choices.slowBattles || settings_.value(kSlowBattles, false).toBool();
}

void WindowPreferences::Remember() {
  settings_.setValue(kGeometry, window_.saveGeometry());
  settings_.setValue(kFullScreen, window_.isFullScreen());
  settings_.setValue(kMuted, muted_);
  settings_.setValue(kSlowBattles, slowBattles_);
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

}  // namespace kiravel::qt
