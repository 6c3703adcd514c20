#include "app/kiravel/appearance.h"

#include <QApplication>
#include <QFont>
#include <QFontDatabase>
#include <QPixmap>
#include <QStyleFactory>

#include "desktop/icon_design.h"

namespace kiravel::qt {

namespace {

const QString kStoryFont = QStringLiteral("ＭＳ Ｐゴシック");
const QString kJapaneseFont = QStringLiteral("IPAPGothic");
constexpr int kDefaultPointSize = 9;

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
  QIcon icon;
  for (int size : {kIconDesignSize, 2 * kIconDesignSize, 4 * kIconDesignSize}) {
    icon.addPixmap(QPixmap::fromImage(PaintIcon(size)));
  }
  return icon;
}

}  // namespace kiravel::qt
