// The frame round the control that has the keyboard focus: one ring for
// every kind of control, drawn round its outside so that it covers none of
// the control's text and shows on any face colour or picture.
#pragma once

#include <QPointer>
#include <QWidget>

namespace kiravel::qt {

class FocusRing : public QWidget {
 public:
  // Follows the focus among the widgets inside window.
  explicit FocusRing(QWidget& window);
  // Back on top of its neighbours after they have been restacked.
  void Lift();
  // Round the focused control again, wherever it is now and whether it
  // shows: its containers may have moved or hidden it.
  void Place();

 protected:
  void paintEvent(QPaintEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void Follow(QWidget* focused);

  QWidget& window_;
  QPointer<QWidget> target_;
  // The ring's outer edge in the window, which the window may cut off
  // where the control meets its edge.
  QRect ring_;
};

}  // namespace kiravel::qt
