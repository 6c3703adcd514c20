// The moment the window has been painted for the first time. The game loads
// its sound module then, so the audio libraries never delay the first
// frame; and for the start-up benchmark (kiravel --report-first-frame, and
// the bare window it is weighed against) the program prints "first-frame
// MS" (milliseconds since the epoch) for comparison with the moment the
// benchmark started it.
#pragma once

#include <QWidget>

#include <functional>

namespace kiravel::qt {

// Runs `then` once the window's first painting has been handed to the screen.
void AfterFirstFrame(QWidget& window, std::function<void()> then);
void ReportFirstFrame(QWidget& window);

}  // namespace kiravel::qt
