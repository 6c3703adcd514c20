#include "desktop/first_frame.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QEvent>
#include <QTimer>

#include <cstdio>
#include <cstdlib>
#include <utility>

namespace kiravel::qt {

namespace {

// Watches every widget: the window itself may never be painted when its
// children cover it.
class FirstPaint : public QObject {
 public:
  FirstPaint(QWidget& window, std::function<void()> then)
      : QObject(&window), window_(window), then_(std::move(then)) {
    QCoreApplication::instance()->installEventFilter(this);
  }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() != QEvent::Paint) return false;
    auto* widget = qobject_cast<QWidget*>(watched);
    if (widget == nullptr || widget->window() != &window_) return false;
    QCoreApplication::instance()->removeEventFilter(this);
    QTimer::singleShot(0, this, [this] { then_(); });
    return false;
  }

 private:
  QWidget& window_;
  std::function<void()> then_;
};

}  // namespace

void AfterFirstFrame(QWidget& window, std::function<void()> then) {
  new FirstPaint(window, std::move(then));
}

void ReportFirstFrame(QWidget& window) {
  AfterFirstFrame(window, [] {
    auto now = static_cast<long long>(QDateTime::currentMSecsSinceEpoch());
    std::printf("first-frame %lld\n", now);
    std::fflush(stdout);
  });
}

}  // namespace kiravel::qt
