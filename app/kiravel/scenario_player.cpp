#include "app/kiravel/scenario_player.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMessageBox>
#include <QMouseEvent>
#include <QTextStream>
#include <QTimer>

#include <cstdio>
#include <cstdlib>

namespace kiravel::qt {

namespace {

// How often the player looks for a message box to answer.
constexpr int kBoxWatchMs = 50;

void Log(const QString& text) {
  std::fprintf(stderr, "kiravel scenario: %s\n", text.toUtf8().constData());
}

class ScenarioPlayer : public QObject {
 public:
  ScenarioPlayer(Fom& fom, GameWindow& window, QStringList lines, QString shotDir)
      : QObject(&window), fom_(fom), window_(window), lines_(std::move(lines)),
        shotDir_(std::move(shotDir)) {
    connect(&watch_, &QTimer::timeout, this, [this] { AnswerBoxes(); });
    watch_.start(kBoxWatchMs);
    QTimer::singleShot(0, this, [this] { Next(); });
  }

 private:
  void Next() {
    while (next_ < lines_.size()) {
      QString line = lines_[next_++].trimmed();
      if (line.isEmpty() || line.startsWith('#')) continue;
      Log(line);
      int wait = Execute(line);
      QTimer::singleShot(wait, this, [this] { Next(); });
      return;
    }
    // Played to the end: the game runs on undisturbed, as a player left it.
    watch_.stop();
  }

  // Carries out one command; returns how long to let the game run after it.
  int Execute(const QString& line) {
    QStringList words = line.split(' ', Qt::SkipEmptyParts);
    const QString& command = words[0];
    if (command == "wait" && words.size() == 2) return words[1].toInt();
    if (command == "shot" && words.size() == 2) {
      window_.grab().save(QDir(shotDir_).filePath(words[1] + ".png"));
    } else if (command == "resize" && words.size() == 3) {
      window_.resize(words[1].toInt(), words[2].toInt());
    } else if (command == "close" && words.size() == 1) {
      // The player who closes the window means it: a question about the
      // journey in progress is answered Yes.
      closing_ = true;
      window_.close();
      closing_ = false;
    } else if (words.size() >= 2 && QStringList{"click", "select", "type"}.contains(command)) {
      Use(command, words[1], line.section(' ', 2));
    } else {
      Log("not understood: " + line);
    }
    return 0;
  }

  void Use(const QString& command, const QString& name, const QString& rest) {
    Control* control = fom_.FindControl(name.toStdString());
    QWidget* widget = control != nullptr ? window_.WidgetOf(*control) : nullptr;
    if (widget == nullptr) return Log("no drawn control " + name);
    if (!widget->isVisible()) return Log(name + " is hidden: skipped");
    if (command == "click") return Click(*widget);
    if (auto* list = qobject_cast<QListWidget*>(widget); list && command == "select") {
      return list->setCurrentRow(rest.toInt());
    }
    if (auto* box = qobject_cast<QLineEdit*>(widget); box && command == "type") {
      box->setFocus();
      box->selectAll();
      QKeyEvent key(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, rest);
      QCoreApplication::sendEvent(box, &key);
      return;
    }
    Log(name + " does not take " + command);
  }

  static void Click(QWidget& widget) {
    if (auto* button = qobject_cast<QAbstractButton*>(&widget)) return button->click();
    QPointF centre = QRectF(widget.rect()).center();
    QPointF global = widget.mapToGlobal(centre);
    QMouseEvent press(QEvent::MouseButtonPress, centre, global, Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QCoreApplication::sendEvent(&widget, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, centre, global, Qt::LeftButton,
                        Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&widget, &release);
  }

  void AnswerBoxes() {
    if (auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
      menu->grab().save(QDir(shotDir_).filePath(QStringLiteral("menu-%1.png").arg(++menus_)));
      menu->close();
    }
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (box == nullptr) return;
    box->grab().save(QDir(shotDir_).filePath(QStringLiteral("box-%1.png").arg(++boxes_)));
    Log("message box: " + box->text());
    QAbstractButton* answer = closing_ ? box->button(QMessageBox::Yes) : box->defaultButton();
    if (answer == nullptr && !box->buttons().isEmpty()) answer = box->buttons().first();
    if (answer != nullptr) answer->click();
  }

  Fom& fom_;
  GameWindow& window_;
  QStringList lines_;
  QString shotDir_;
  QTimer watch_;
  qsizetype next_ = 0;
  bool closing_ = false;
  int boxes_ = 0;
  int menus_ = 0;
};

}  // namespace

void PlayScenarioFromEnvironment(Fom& fom, GameWindow& window) {
  const char* file = std::getenv("KIRAVEL_SCREENSHOT_SCENARIO");
  if (file == nullptr) return;
  QFile scenario(QString::fromLocal8Bit(file));
  if (!scenario.open(QIODevice::ReadOnly | QIODevice::Text)) {
    return Log("cannot read " + scenario.fileName());
  }
  const char* dir = std::getenv("KIRAVEL_SCREENSHOT_DIR");
  QStringList lines = QTextStream(&scenario).readAll().split('\n');
  new ScenarioPlayer(fom, window, lines, dir != nullptr ? QString::fromLocal8Bit(dir) : ".");
}

}  // namespace kiravel::qt
