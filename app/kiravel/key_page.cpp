#include "app/kiravel/key_page.h"

#include <QDialogButtonBox>
#include <QShortcut>
#include <QTextBrowser>
#include <QVBoxLayout>

#include "app/kiravel/story_reading.h"
#include "app/kiravel/window_keys.h"

namespace kiravel::qt {

namespace {

QString KeyTable() {
  QString html = QStringLiteral("<html><body>");
  bool open = false;
  KeyMode mode = KeyMode::Anywhere;
  for (const WindowKey& key : WindowKeys()) {
    if (!open || key.mode != mode) {
      if (open) html += QStringLiteral("</table>");
      html += QStringLiteral("<h3>") + KeyModeName(key.mode, true).toHtmlEscaped() +
              QStringLiteral("</h3><table cellspacing='0' cellpadding='3'>");
      open = true;
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
  table->setHtml(KeyTable());
  column->addWidget(table);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  column->addWidget(buttons);
  // Big enough for the longest group without scrolling on a small screen.
  resize(560, 520);
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
