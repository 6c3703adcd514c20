#include "app/kiravel/focus_ring.h"

#include <QApplication>
#include <QEvent>
#include <QPainter>

#include "app/kiravel/accessible_widgets.h"

namespace kiravel::qt {

namespace {

// Two lines of two pixels each.
constexpr int kRingWidth = 4;

}  // namespace

FocusRing::FocusRing(QWidget& window) : QWidget(&window), window_(window) {
  setAttribute(Qt::WA_TransparentForMouseEvents);
  setFocusPolicy(Qt::NoFocus);
  // The ring is only drawn: a screen reader hears the focus move by itself.
  KeepOffTheBus(*this);
  hide();
  connect(qApp, &QApplication::focusChanged, this,
          [this](QWidget*, QWidget* focused) { Follow(focused); });
}

void FocusRing::Lift() {
  if (isVisible()) raise();
}

// A dark line inside a light one: one of them always stands out against
// what lies beneath. Where the window's edge cuts the ring off, the control
// meets the edge and the other three sides show where the focus is.
void FocusRing::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.setBrush(Qt::NoBrush);
  const QRect outer = ring_.translated(-geometry().topLeft());
  painter.setPen(QPen(QColor(255, 200, 0), 2));
  painter.drawRect(outer.adjusted(1, 1, -1, -1));
  painter.setPen(QPen(QColor(20, 20, 120), 2));
  painter.drawRect(outer.adjusted(3, 3, -3, -3));
}

bool FocusRing::eventFilter(QObject* watched, QEvent* event) {
  if (watched != target_) return false;
  switch (event->type()) {
    case QEvent::Move:
    case QEvent::Resize:
    case QEvent::Show:
    case QEvent::Hide:
      Place();
      break;
    default:
      break;
  }
  return false;
}

void FocusRing::Follow(QWidget* focused) {
  if (target_ != nullptr) target_->removeEventFilter(this);
  target_ = focused != nullptr && window_.isAncestorOf(focused) ? focused : nullptr;
  if (target_ != nullptr) target_->installEventFilter(this);
  Place();
}

// Runs after every event of the game: it changes nothing while the focused
// control stays where it was.
void FocusRing::Place() {
  if (target_ == nullptr || !target_->isVisible()) {
    hide();
    return;
  }
  const QRect control(target_->mapTo(&window_, QPoint(0, 0)), target_->size());
  const QRect ring = control.adjusted(-kRingWidth, -kRingWidth, kRingWidth, kRingWidth);
  if (ring == ring_ && isVisible()) return;
  ring_ = ring;
  setGeometry(ring_.intersected(window_.rect()));
  show();
  raise();
  update();
}

}  // namespace kiravel::qt
