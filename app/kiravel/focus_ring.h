// The frame round the control that has the keyboard focus: one ring for
// every kind of control, laid over it so that it shows on any face colour
// or picture.
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

 protected:
  void paintEvent(QPaintEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void Follow(QWidget* focused);
  void Place();

  QWidget& window_;
  QPointer<QWidget> target_;
};

}  // namespace kiravel::qt
