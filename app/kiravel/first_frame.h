// For the start-up benchmark: with KIRAVEL_REPORT_FIRST_FRAME set, the
// program prints "first-frame MS" (milliseconds since the epoch) once its
// window has been painted for the first time, for comparison with the
// moment the benchmark started it.
#pragma once

#include <QWidget>

namespace kiravel::qt {

void ReportFirstFrame(QWidget& window);

}  // namespace kiravel::qt
