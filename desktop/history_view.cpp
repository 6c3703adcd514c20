#include "desktop/history_view.h"

#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScrollBar>
#include <QTextCursor>
#include <QWheelEvent>

#include <utility>

namespace kiravel::qt {

HistoryView::HistoryView(QWidget* parent, std::function<void()> closing)
    : QPlainTextEdit(parent), closing_(std::move(closing)) {
  setObjectName(QStringLiteral("storyHistory"));
  setWindowTitle(QStringLiteral("履歴"));
  setAccessibleName(QStringLiteral("履歴"));
  setReadOnly(true);
  setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
  setFocusPolicy(Qt::StrongFocus);
  setFrameShape(QFrame::Box);
  setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  // Dark text on a pale page, like the story text it repeats.
  QPalette colours = palette();
  colours.setColor(QPalette::Base, QColor(255, 252, 240));
  colours.setColor(QPalette::Text, Qt::black);
  setPalette(colours);
  hide();
}

void HistoryView::Show(const QString& text, const QFont& font) {
  setFont(font);
  setPlainText(text);
  moveCursor(QTextCursor::End);
  show();
  raise();
  verticalScrollBar()->setValue(verticalScrollBar()->maximum());
  setFocus(Qt::OtherFocusReason);
}

bool HistoryView::AtEnd() const {
  return verticalScrollBar()->value() >= verticalScrollBar()->maximum();
}

void HistoryView::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape ||
      (event->key() == Qt::Key_H && event->modifiers() == Qt::NoModifier)) {
    closing_();
    return;
  }
  QPlainTextEdit::keyPressEvent(event);
  // Nothing the history does not take goes on to the game behind it.
  event->accept();
}

void HistoryView::wheelEvent(QWheelEvent* event) {
  if (event->angleDelta().y() < 0 && AtEnd()) {
    closing_();
    return;
  }
  QPlainTextEdit::wheelEvent(event);
  event->accept();
}

void HistoryView::contextMenuEvent(QContextMenuEvent* event) {
  event->accept();
  closing_();
}

void HistoryView::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::RightButton) {
    event->accept();
    closing_();
    return;
  }
  QPlainTextEdit::mousePressEvent(event);
}

}  // namespace kiravel::qt
