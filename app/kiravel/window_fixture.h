// The game window over a data folder of its own, under Qt's offscreen
// platform, with what its tests do to it as a player would: keys, clicks,
// and answers to its message boxes.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QAbstractEventDispatcher>
#include <QBuffer>
#include <QElapsedTimer>
#include <QImage>
#include <QKeyEvent>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>
#include <QTimer>

#include <sys/stat.h>

#include <filesystem>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "app/kiravel/appearance.h"
#include "app/kiravel/game_window.h"
#include "app/kiravel/music_thread.h"
#include "app/kiravel/qt_language.h"
#include "app/kiravel/qt_platform.h"
#include "platform/data_folder.h"
#include "scenario/recorder.h"
#include "testing/game_fixture.h"
#include "testing/wave.h"

namespace kiravel::qt {

class QtApplication : public ::testing::Environment {
 public:
  QtApplication(int& argc, char** argv) : argc_(argc), argv_(argv) {}
  void SetUp() override {
    application_ = std::make_unique<QApplication>(argc_, argv_);
    SetUpAppearance();
    SpeakJapanese();
  }
  void TearDown() override { application_.reset(); }

 private:
  int& argc_;
  char** argv_;
  std::unique_ptr<QApplication> application_;
};

// Lets the window run until done() holds; false when it never does. The
// limit only ends a test that has already failed.
inline bool RunUntil(const std::function<bool()>& done, int ms = 20000) {
  QElapsedTimer clock;
  clock.start();
  while (!done()) {
    if (clock.elapsed() > ms) return false;
    QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
  }
  return true;
}

// Lets the window deliver everything already asked of it: the events
// waiting, and those they post in turn, until none is left. A check that
// something did not happen comes after this, never after a pause.
inline void Settle() {
  QElapsedTimer clock;
  clock.start();
  while (QCoreApplication::eventDispatcher()->processEvents(QEventLoop::AllEvents)) {
    if (clock.elapsed() > 20000) throw std::runtime_error("the window never settles");
  }
}

// A 2 × 2 picture as PNG bytes, to be stored under a picture's name.
inline std::string Png(QColor topLeft, QColor topRight, QColor bottomLeft, QColor bottomRight) {
  QImage image(2, 2, QImage::Format_RGB32);
  image.setPixelColor(0, 0, topLeft);
  image.setPixelColor(1, 0, topRight);
  image.setPixelColor(0, 1, bottomLeft);
  image.setPixelColor(1, 1, bottomRight);
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  image.save(&buffer, "PNG");
  return bytes.toStdString();
}

inline const std::string kTitle = Png(Qt::red, Qt::green, Qt::blue, Qt::yellow);
inline const std::string kTown = Png(Qt::cyan, Qt::magenta, Qt::darkGreen, Qt::darkBlue);

// A button's words without its keyboard mark: "いいえ(&N)" reads いいえ.
inline QString Words(const QAbstractButton& button) {
  return button.text().remove(QRegularExpression(QStringLiteral("\\(&.\\)|&")));
}

// Answers every message box with its default button, as Enter would, or
// with the button of the kind in Answer, noting its text and its buttons'.
class BoxCatcher {
 public:
  BoxCatcher() {
    timer_.callOnTimeout([this] {
      auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      if (box == nullptr) return;
      if (Looking) Looking();
      Texts.append(box->text());
      QStringList buttons;
      for (QAbstractButton* button : box->buttons()) buttons.append(Words(*button));
      Buttons.append(buttons.join("/"));
      QAbstractButton* chosen =
          Answer != QMessageBox::NoButton ? box->button(Answer) : box->defaultButton();
      if (chosen == nullptr) chosen = box->buttons().first();
      Chosen.append(Words(*chosen));
      chosen->click();
    });
    timer_.start(5);
  }
  QMessageBox::StandardButton Answer = QMessageBox::NoButton;
  // Looks at the window while the box is up.
  std::function<void()> Looking;
  QStringList Texts;
  QStringList Buttons;
  QStringList Chosen;

 private:
  QTimer timer_;
};

enum class Data { Complete, Missing, BrokenTitle, ShortMusic, PipeTitle };

// The window's platform, noting every music command but the status query.
struct RecordingPlatform : QtPlatform {
  using QtPlatform::QtPlatform;
  std::int32_t mciSendString(const std::string& command, std::string* reply,
                             int replyLength) override {
    if (reply == nullptr) sent.push_back(command);
    return QtPlatform::mciSendString(command, reply, replyLength);
  }
  std::vector<std::string> sent;
};

// The game window over a data folder of its own.
struct Window {
  // With a recorder, the game is recorded from its first event on.
  explicit Window(Data kind = Data::Complete, scenario::Recorder* recorder = nullptr) {
    WriteData(kind);
    Start(recorder);
  }

  // A window of its own over the data folder: the game as started afresh.
  void Start(scenario::Recorder* recorder = nullptr, const std::string& playerFolder = "") {
    window.reset();
    fom = std::make_unique<Fom>(platform, data.Path());
    window = std::make_unique<GameWindow>(*fom, platform);
    if (recorder != nullptr) window->RecordTo(*recorder);
    if (!playerFolder.empty()) window->Reading().KeepReadPagesIn(playerFolder);
    window->Open();
    Settle();
  }

  void WriteData(Data kind) {
    if (kind == Data::Missing) {
      std::filesystem::remove_all(data.Path() + kPictureFolder);
      std::filesystem::remove_all(data.Path() + kTextFolder);
      return;
    }
    if (kind == Data::PipeTitle) {
      ::mkfifo((data.Path() + PictureFile("ttl")).c_str(), 0644);
    } else {
      data.WriteBytes(PictureFile("ttl"), kind == Data::BrokenTitle ? "no picture" : kTitle);
    }
    for (const char* name : {"mati", "you", "bar", "mon0", "mon1", "mon2"}) {
      data.WriteBytes(std::string(PictureFolderPath()) + name + kDataEnding, kTown);
    }
    data.WriteScript("opn", {"ようこそ", "tugi"});
    for (int k = 0; k < kRumourFiles; ++k) data.WriteText(TextFile(RumourFile(k)), {"噂"});
    if (kind == Data::ShortMusic) data.WriteBytes(kMusicFile, kiravel::testing::SilentWave(100));
  }

  template <class W>
  W& Widget(const Control& control) {
    auto* widget = qobject_cast<W*>(window->WidgetOf(control));
    if (widget == nullptr) throw std::runtime_error("no widget of that kind for " + control.Id());
    return *widget;
  }

  QString Text(const Label& label) { return Widget<QLabel>(label).text(); }

  // The start panel and the opening scene, through the buttons.
  void StartEasyGameInTown() {
    Widget<QPushButton>(fom->ComStt[0]).click();
    Widget<QPushButton>(fom->ComSkep).click();
  }

  // The colour the picture panel shows at a fraction of its width and height.
  QColor PictureAt(double x, double y) {
    QImage shot = Widget<QWidget>(fom->Pic).grab().toImage();
    return shot.pixelColor(static_cast<int>(x * (shot.width() - 1)),
                           static_cast<int>(y * (shot.height() - 1)));
  }

  kiravel::testing::DataFolder data;
  MusicThread music{KIRAVEL_SOUND_MODULE_PATH};
  RecordingPlatform platform{music};
  std::unique_ptr<Fom> fom;
  std::unique_ptr<GameWindow> window;
};

inline bool Within(const QWidget& widget, const QWidget* found) {
  return found != nullptr && (found == &widget || widget.isAncestorOf(found));
}

// The window as the player has it: on the screen and holding the focus.
inline void Activate(Window& w) {
  w.window->activateWindow();
  QApplication::setActiveWindow(w.window.get());
  ASSERT_TRUE(RunUntil([&] { return w.window->isActiveWindow(); }));
}

inline void Press(Qt::Key key, const QString& text = QString()) {
  QWidget* target = QApplication::focusWidget();
  ASSERT_NE(target, nullptr);
  QKeyEvent down(QEvent::KeyPress, key, Qt::NoModifier, text);
  QKeyEvent up(QEvent::KeyRelease, key, Qt::NoModifier, text);
  QCoreApplication::sendEvent(target, &down);
  QCoreApplication::sendEvent(target, &up);
}

inline bool Focused(Window& w, const Control& control) {
  return QApplication::focusWidget() == w.window->WidgetOf(control);
}

}  // namespace kiravel::qt
