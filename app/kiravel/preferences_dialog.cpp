#include "app/kiravel/preferences_dialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QSlider>
#include <QSpinBox>
#include <QVBoxLayout>

#include <cmath>

namespace kiravel::qt {

namespace {

QCheckBox* CheckBox(const QString& text, const char* name, bool checked) {
  auto* box = new QCheckBox(text);
  box->setObjectName(QString::fromLatin1(name));
  box->setChecked(checked);
  return box;
}

QFormLayout* Group(QVBoxLayout& column, const QString& title) {
  auto* group = new QGroupBox(title);
  auto* rows = new QFormLayout(group);
  column.addWidget(group);
  return rows;
}

}  // namespace

PreferencesDialog::PreferencesDialog(const PreferenceValues& values, QWidget* parent)
    : QDialog(parent) {
  setObjectName(QStringLiteral("preferences"));
  setWindowTitle(QStringLiteral("設定"));
  auto* column = new QVBoxLayout(this);
  AddReadingGroup(*column, values);
  AddMusicGroup(*column, values);
  AddScreenGroup(*column, values);
  AddBattleGroup(*column, values);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  column->addWidget(buttons);
}

void PreferencesDialog::AddReadingGroup(QVBoxLayout& column, const PreferenceValues& values) {
  QFormLayout* rows = Group(column, QStringLiteral("文章を読む"));
  autoAdvance_ = CheckBox(QStringLiteral("自動送り（A）"), "autoAdvance", values.autoAdvance);
  rows->addRow(autoAdvance_);
  baseDelay_ = new QDoubleSpinBox;
  baseDelay_->setObjectName(QStringLiteral("autoBaseDelay"));
  baseDelay_->setAccessibleName(QStringLiteral("ページごとの待ち時間"));
  baseDelay_->setRange(0, 30);
  baseDelay_->setDecimals(1);
  baseDelay_->setSingleStep(0.1);
  baseDelay_->setSuffix(QStringLiteral(" 秒"));
  baseDelay_->setValue(values.baseDelayMs / 1000.0);
  rows->addRow(QStringLiteral("ページごとの待ち時間"), baseDelay_);
  perCharacter_ = new QSpinBox;
  perCharacter_->setObjectName(QStringLiteral("autoPerCharacter"));
  perCharacter_->setAccessibleName(QStringLiteral("1文字ごとに足す時間"));
  perCharacter_->setRange(0, 1000);
  perCharacter_->setSingleStep(10);
  perCharacter_->setSuffix(QStringLiteral(" ミリ秒"));
  perCharacter_->setValue(values.perCharacterMs);
  rows->addRow(QStringLiteral("1文字ごとに足す時間"), perCharacter_);
  skipUnread_ = CheckBox(QStringLiteral("まだ読んでいないページもスキップする"), "skipUnread",
                         values.skipUnread);
  rows->addRow(skipUnread_);
}

void PreferencesDialog::AddMusicGroup(QVBoxLayout& column, const PreferenceValues& values) {
  QFormLayout* rows = Group(column, QStringLiteral("音楽"));
  volume_ = new QSlider(Qt::Horizontal);
  volume_->setObjectName(QStringLiteral("musicVolume"));
  volume_->setAccessibleName(QStringLiteral("音量"));
  volume_->setRange(0, 100);
  volume_->setPageStep(10);
  volume_->setValue(values.volume);
  auto* shown = new QLabel;
  shown->setMinimumWidth(shown->fontMetrics().horizontalAdvance(QStringLiteral("100 %")));
  auto show = [shown](int percent) { shown->setText(QString::number(percent) + QStringLiteral(" %")); };
  show(values.volume);
  connect(volume_, &QSlider::valueChanged, shown, show);
  auto* line = new QHBoxLayout;
  line->addWidget(volume_);
  line->addWidget(shown);
  rows->addRow(QStringLiteral("音量"), line);
  muted_ = CheckBox(QStringLiteral("音楽を消す（Ctrl+M）"), "musicMuted", values.muted);
  rows->addRow(muted_);
}

void PreferencesDialog::AddScreenGroup(QVBoxLayout& column, const PreferenceValues& values) {
  QFormLayout* rows = Group(column, QStringLiteral("画面"));
  fullScreen_ = CheckBox(QStringLiteral("全画面（F11）"), "fullScreen", values.fullScreen);
  rows->addRow(fullScreen_);
}

// For a player who listens to a screen reader: time to hear each blow.
void PreferencesDialog::AddBattleGroup(QVBoxLayout& column, const PreferenceValues& values) {
  QFormLayout* rows = Group(column, QStringLiteral("戦い"));
  slowBattles_ = CheckBox(QStringLiteral("ゆっくり戦う（魔物の攻撃は3秒ごと）"), "slowBattles",
                          values.slowBattles);
  rows->addRow(slowBattles_);
}

PreferenceValues PreferencesDialog::Chosen() const {
  PreferenceValues values;
  values.autoAdvance = autoAdvance_->isChecked();
  values.baseDelayMs = static_cast<int>(std::lround(baseDelay_->value() * 1000));
  values.perCharacterMs = perCharacter_->value();
  values.skipUnread = skipUnread_->isChecked();
  values.volume = volume_->value();
  values.muted = muted_->isChecked();
  values.fullScreen = fullScreen_->isChecked();
  values.slowBattles = slowBattles_->isChecked();
  return values;
}

}  // namespace kiravel::qt
