// What the desktop's accessibility bus (and so a screen reader) learns of the
// window beyond what Qt's own widgets tell it: the parts that are only drawn
// stay off it, the bars are read as values with their maxima, the story text
// is read as it is spoken, and one line of news tells what has just happened.
#pragma once

#include <QObject>
#include <QString>
#include <QWidget>

#include <functional>

namespace kiravel::qt {

// Once the application exists: the window's own widgets are described below.
void DescribeWindowToTheBus();

// The widget lists its child widgets on the bus, less those kept off it.
void ListChildrenOnTheBus(QWidget& widget);
// Only drawn (a shadow, a heading the list's own name repeats, a buffer the
// player never sees): its container leaves it out.
void KeepOffTheBus(QWidget& widget);
bool KeptOffTheBus(const QWidget& widget);
// A panel that shows a picture is read as one; any other as a pane.
void ReadAsPicture(QWidget& panel, bool picture);

// A widget the player clicks: the bus offers the click as its press action.
void PressedBy(QWidget& widget, std::function<void()> press);

// A bar read as a value out of a maximum; the bus hears when it changes.
void ReadAsMeter(QWidget& bar);
void SetMeter(QWidget& bar, int value, int maximum);

// A label read as the given text rather than the one it shows. A change that
// only adds at the end reaches the bus as that addition, so a screen reader
// speaks the new words alone; any other as the whole text replaced.
void ReadAsText(QWidget& label);
void SetSpokenText(QWidget& label, const QString& text);

// The line of news beside the window's controls: a status bar on the bus
// whose text is the last piece of news, each one told as it replaces the
// one before.
class NewsLine : public QObject {
 public:
  explicit NewsLine(QWidget& window);
  void Tell(const QString& news);
  const QString& Text() const { return text_; }
  QWidget& Window() const { return window_; }

 private:
  QWidget& window_;
  QString text_;
};

}  // namespace kiravel::qt
