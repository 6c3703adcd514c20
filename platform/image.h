// A decoded picture, as a port hands it back. The front ends subclass it to
// carry the pixels; the game only needs the size.
#pragma once

namespace kiravel {

class Image {
 public:
  virtual ~Image() = default;
  int Width = 0;   // pixels
  int Height = 0;  // pixels
};

}  // namespace kiravel
