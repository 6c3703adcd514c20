#include "desktop/icon_design.h"

#include <QFont>
#include <QPainter>

#include <cmath>
#include <cstdio>

namespace kiravel::qt {

namespace {

QPainterPath Tile() {
  QPainterPath tile;
  tile.addRoundedRect(QRectF(1, 1, 30, 30), 6, 6);
  return tile;
}

// The letter, centred in the lower part of the tile.
QPainterPath Letter() {
  QFont font(QStringLiteral("IPAPGothic"));
  font.setPixelSize(22);
  font.setBold(true);
  QPainterPath letter;
  letter.addText(0, 0, font, QStringLiteral("K"));
  const QRectF room(2, 7, 28, 25);
  return letter.translated(room.center() - letter.boundingRect().center());
}

QPainterPath Star(QPointF centre, double outer, double inner) {
  QPainterPath star;
  for (int i = 0; i < 10; ++i) {
    const double radius = i % 2 == 0 ? outer : inner;
    const double angle = -M_PI / 2 + i * M_PI / 5;
    const QPointF point(centre.x() + radius * std::cos(angle),
                        centre.y() + radius * std::sin(angle));
    if (i == 0) {
      star.moveTo(point);
    } else {
      star.lineTo(point);
    }
  }
  star.closeSubpath();
  return star;
}

std::string Number(double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%.3f", value);
  return text;
}

std::string Colour(const QColor& colour) { return colour.name().toStdString(); }

// The path in SVG's path language: moves, lines and cubic curves.
std::string SvgPath(const QPainterPath& path) {
  std::string d;
  for (int i = 0; i < path.elementCount(); ++i) {
    const QPainterPath::Element e = path.elementAt(i);
    const std::string point = Number(e.x) + " " + Number(e.y);
    switch (e.type) {
      case QPainterPath::MoveToElement: d += (d.empty() ? "M" : "ZM") + point; break;
      case QPainterPath::LineToElement: d += "L" + point; break;
      case QPainterPath::CurveToElement: d += "C" + point; break;
      case QPainterPath::CurveToDataElement: d += " " + point; break;
    }
  }
  return d + "Z";
}

}  // namespace

std::vector<IconShape> IconDesign() {
  return {
      {Tile(), QColor(40, 60, 140), {}, 0},
      {Letter(), QColor(235, 235, 255), {}, 0},
      {Star(QPointF(22, 9), 8, 3.4), QColor(255, 215, 40), QColor(150, 100, 0), 1},
  };
}

QImage PaintIcon(int size) {
  QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  QPainter painter(&image);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.scale(double(size) / kIconDesignSize, double(size) / kIconDesignSize);
  for (const IconShape& shape : IconDesign()) {
    painter.setPen(shape.outlineWidth > 0 ? QPen(shape.outline, shape.outlineWidth) : Qt::NoPen);
    painter.setBrush(shape.fill);
    painter.drawPath(shape.path);
  }
  return image;
}

std::string IconSvg() {
  const std::string side = std::to_string(kIconDesignSize);
  std::string svg = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                    "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" + side +
                    "\" height=\"" + side + "\" viewBox=\"0 0 " + side + " " + side + "\">\n";
  for (const IconShape& shape : IconDesign()) {
    const char* rule = shape.path.fillRule() == Qt::OddEvenFill ? "evenodd" : "nonzero";
    svg += "  <path fill=\"" + Colour(shape.fill) + "\" fill-rule=\"" + rule + "\"";
    if (shape.outlineWidth > 0) {
      svg += " stroke=\"" + Colour(shape.outline) + "\" stroke-width=\"" +
             Number(shape.outlineWidth) + "\"";
    }
    svg += " d=\"" + SvgPath(shape.path) + "\"/>\n";
  }
  return svg + "</svg>\n";
}

}  // namespace kiravel::qt
