// A picture as the game window loads it: the decoded pixels, kept for as
// long as a panel shows them.
#pragma once

#include <QImage>

#include "ui/controls.h"

namespace kiravel::qt {

class QtImage : public Image {
 public:
  explicit QtImage(QImage pixels) : Pixels(std::move(pixels)) {
    Width = Pixels.width();
    Height = Pixels.height();
  }
  QImage Pixels;
};

}  // namespace kiravel::qt
