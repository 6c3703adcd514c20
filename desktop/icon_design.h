// The game's icon, described once: the window shows it, and the build draws
// the desktop's icons (a PNG at each size and an SVG) from the same shapes.
#pragma once

#include <QColor>
#include <QImage>
#include <QPainterPath>

#include <string>
#include <vector>

namespace kiravel::qt {

// One filled shape of the icon, outlined when outlineWidth is above 0.
struct IconShape {
  QPainterPath path;
  QColor fill;
  QColor outline;
  double outlineWidth = 0;
};

// The side of the square the shapes are drawn on.
inline constexpr int kIconDesignSize = 32;

// A blue tile, the letter K and a gold star in its upper right corner. The
// letter is taken from the game's Japanese font as outlines, so the icon
// looks the same wherever it is drawn.
std::vector<IconShape> IconDesign();

// The icon drawn on a transparent square of size × size pixels.
QImage PaintIcon(int size);

// The icon as an SVG document.
std::string IconSvg();

}  // namespace kiravel::qt
