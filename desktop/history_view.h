// The history over the picture panel: the pages shown so far, newest at the
// bottom, in the story text's font. The player can scroll and select and
// copy; the wheel turned down past the end, Escape, H or a right click
// close it.
#pragma once

#include <QPlainTextEdit>

#include <functional>

namespace kiravel::qt {

class HistoryView : public QPlainTextEdit {
 public:
  // closing is told when the player asks to close it.
  HistoryView(QWidget* parent, std::function<void()> closing);

  // Shows the text scrolled to its end.
  void Show(const QString& text, const QFont& font);

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;

 private:
  bool AtEnd() const;

  std::function<void()> closing_;
};

}  // namespace kiravel::qt
