#include "app/kiravel/key_page.h"

#include <QDialogButtonBox>
#include <QScreen>
#include <QShortcut>
#include <QTextBrowser>
#include <QVBoxLayout>

#include <optional>

#include "app/kiravel/story_reading.h"
#include "app/kiravel/window_keys.h"

namespace kiravel::qt {

namespace {

// One table for all the groups, so that the keys of every group line up.
QString KeyTable() {
  QString html = QStringLiteral("<html><body><table cellspacing='0' cellpadding='3'>");
  std::optional<KeyMode> mode;
  for (const WindowKey& key : WindowKeys()) {
    if (mode != key.mode) {
      html += QStringLiteral("<tr><td colspan='2'><h3>") +
              KeyModeName(key.mode, true).toHtmlEscaped() + QStringLiteral("</h3></td></tr>");
      mode = key.mode;
    }
    html += QStringLiteral("<tr><td><b>") + QString::fromUtf8(key.keysJapanese).toHtmlEscaped() +
            QStringLiteral("</b></td><td>") + QString::fromUtf8(key.japanese).toHtmlEscaped() +
            QStringLiteral("</td></tr>");
  }
  html += QStringLiteral("</table><p>") + TypingNote(true).toHtmlEscaped() +
          QStringLiteral("</p></body></html>");
  return html;
}

}  // namespace

KeyPage::KeyPage(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("keyPage"));
  setWindowTitle(QStringLiteral("キーの一覧"));
  auto* column = new QVBoxLayout(this);
  auto* table = new QTextBrowser;
  table->setObjectName(QStringLiteral("keyTable"));
  table->setAccessibleName(QStringLiteral("キーの一覧"));
  table->setHtml(KeyTable());
  column->addWidget(table);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  column->addWidget(buttons);
  // As large as the keys want, on a small screen no larger than the screen.
  QSize size(600, 560);
  if (parent != nullptr && parent->screen() != nullptr) {
    size = size.boundedTo(parent->screen()->availableGeometry().size() - QSize(24, 48));
  }
  resize(size);
}

void OfferKeyPage(QWidget& window, StoryReading* reading) {
  auto* shortcut = new QShortcut(QKeySequence(Qt::Key_F1), &window);
  QObject::connect(shortcut, &QShortcut::activated, &window, [&window, reading] {
    KeyPage page(&window);
    page.exec();
    if (reading != nullptr) reading->Reconsider();
  });
}

}  // namespace kiravel::qt
