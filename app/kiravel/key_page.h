// The page of keys that F1 opens: every key the window answers to, in
// Japanese, grouped by what the player faces.
#pragma once

#include <QDialog>

namespace kiravel::qt {

class StoryReading;

class KeyPage : public QDialog {
 public:
  explicit KeyPage(QWidget* parent);
};

// F1 opens the key page over the window; with reading, the auto-advance
// waits while it is open.
void OfferKeyPage(QWidget& window, StoryReading* reading);

}  // namespace kiravel::qt
