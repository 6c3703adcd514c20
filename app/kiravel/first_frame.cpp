#include "app/kiravel/first_frame.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QEvent>
#include <QTimer>

#include <cstdio>
#include <cstdlib>

namespace kiravel::qt {

namespace {

// Watches every widget: the window itself may never be painted when its
// children cover it.
class FirstPaint : public QObject {
 public:
  explicit FirstPaint(QWidget& window) : QObject(&window), window_(window) {
    QCoreApplication::instance()->installEventFilter(this);
  }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() != QEvent::Paint) return false;
    auto* widget = qobject_cast<QWidget*>(watched);
    if (widget == nullptr || widget->window() != &window_) return false;
    QCoreApplication::instance()->removeEventFilter(this);
    // Printed once the painting has been handed to the screen.
    QTimer::singleShot(0, this, [] {
      auto now = static_cast<long long>(QDateTime::currentMSecsSinceEpoch());
      std::printf("first-frame %lld\n", now);
      std::fflush(stdout);
    });
    return false;
  }

 private:
  QWidget& window_;
};

}  // namespace

void ReportFirstFrame(QWidget& window) {
  if (std::getenv("KIRAVEL_REPORT_FIRST_FRAME") == nullptr) return;
  new FirstPaint(window);
}

}  // namespace kiravel::qt
