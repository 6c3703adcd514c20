#include "app/kiravel/focus_ring.h"

#include <QApplication>
#include <QEvent>
#include <QPainter>

namespace kiravel::qt {

FocusRing::FocusRing(QWidget& window) : QWidget(&window), window_(window) {
  setAttribute(Qt::WA_TransparentForMouseEvents);
  setFocusPolicy(Qt::NoFocus);
  hide();
  connect(qApp, &QApplication::focusChanged, this,
          [this](QWidget*, QWidget* focused) { Follow(focused); });
}

void FocusRing::Lift() {
  if (isVisible()) raise();
}

// A dark line inside a light one, two pixels each: one of them always stands
// out against what lies beneath.
void FocusRing::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.setBrush(Qt::NoBrush);
  painter.setPen(QPen(QColor(255, 200, 0), 2));
  painter.drawRect(rect().adjusted(1, 1, -1, -1));
  painter.setPen(QPen(QColor(20, 20, 120), 2));
  painter.drawRect(rect().adjusted(3, 3, -3, -3));
}

bool FocusRing::eventFilter(QObject* watched, QEvent* event) {
  if (watched != target_) return false;
  switch (event->type()) {
    case QEvent::Move:
    case QEvent::Resize:
    case QEvent::Show:
      Place();
      break;
    case QEvent::Hide:
      hide();
      break;
    default:
      break;
  }
  return false;
}

void FocusRing::Follow(QWidget* focused) {
  if (target_ != nullptr) target_->removeEventFilter(this);
  target_ = focused != nullptr && window_.isAncestorOf(focused) ? focused : nullptr;
  if (target_ == nullptr) {
    hide();
    return;
  }
  target_->installEventFilter(this);
  if (parentWidget() != target_->parentWidget()) setParent(target_->parentWidget());
  Place();
}

void FocusRing::Place() {
  setGeometry(target_->geometry());
  setVisible(target_->isVisible());
  raise();
}

}  // namespace kiravel::qt
