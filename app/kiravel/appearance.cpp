#include "app/kiravel/appearance.h"

#include <QApplication>
#include <QFont>
#include <QFontDatabase>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QStyleFactory>

#include <cmath>

namespace kiravel::qt {

namespace {

const QString kStoryFont = QStringLiteral("ＭＳ Ｐゴシック");
const QString kJapaneseFont = QStringLiteral("IPAPGothic");
constexpr int kDefaultPointSize = 9;
constexpr int kIconSize = 32;

QPainterPath Star(QPointF centre, double outer, double inner) {
  QPainterPath star;
  for (int i = 0; i < 10; ++i) {
    double radius = i % 2 == 0 ? outer : inner;
    double angle = -M_PI / 2 + i * M_PI / 5;
    QPointF point(centre.x() + radius * std::cos(angle), centre.y() + radius * std::sin(angle));
    if (i == 0) {
      star.moveTo(point);
    } else {
      star.lineTo(point);
    }
  }
  star.closeSubpath();
  return star;
}

}  // namespace

void SetUpAppearance() {
  QFont::insertSubstitution(kStoryFont, kJapaneseFont);
  if (QFontDatabase::hasFamily(kJapaneseFont)) {
    QApplication::setFont(QFont(kJapaneseFont, kDefaultPointSize));
  }
  if (QStyle* fusion = QStyleFactory::create(QStringLiteral("Fusion"))) {
    QApplication::setStyle(fusion);
  }
}

QIcon GameIcon() {
  QPixmap icon(kIconSize, kIconSize);
  icon.fill(Qt::transparent);
  QPainter painter(&icon);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setPen(Qt::NoPen);
  painter.setBrush(QColor(40, 60, 140));
  painter.drawRoundedRect(QRectF(1, 1, 30, 30), 6, 6);
  QFont letter(kJapaneseFont);
  letter.setPixelSize(22);
  letter.setBold(true);
  painter.setFont(letter);
  painter.setPen(QColor(235, 235, 255));
  painter.drawText(QRectF(2, 7, 28, 25), Qt::AlignCenter, QStringLiteral("K"));
  painter.setPen(QPen(QColor(150, 100, 0), 1));
  painter.setBrush(QColor(255, 215, 40));
  painter.drawPath(Star(QPointF(22, 9), 8, 3.4));
  return QIcon(icon);
}

}  // namespace kiravel::qt
