#include <QPainter>

#include "app/kiravel/views.h"

namespace kiravel::qt {

ShapeView::ShapeView(Shape& shape, QWidget* parent) : QWidget(parent), shape_(shape) {
  // A bar is only drawn on its panel: the panel's tooltip and clicks show
  // through it.
  setAttribute(Qt::WA_TransparentForMouseEvents);
  setFocusPolicy(Qt::NoFocus);
}

void ShapeView::Apply(double twipsPerPixel) {
  look_.Apply(*this, shape_, "", twipsPerPixel);
  if (Changed(fill_, shape_.FillColor)) update();
}

void ShapeView::paintEvent(QPaintEvent*) {
  QPainter(this).fillRect(rect(), QtColour(shape_.FillColor));
}

}  // namespace kiravel::qt
