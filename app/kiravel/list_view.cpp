#include <QKeyEvent>
#include <QStringList>

#include <algorithm>

#include "app/kiravel/views.h"

namespace kiravel::qt {

ListView::ListView(ListBox& list, PlayerInput& input, QWidget* parent)
    : QListWidget(parent), list_(list), input_(input) {
  setSelectionMode(QAbstractItemView::SingleSelection);
  setSortingEnabled(false);
  // The selection, not the keyboard cursor, is the list's position: tabbing
  // into a list moves the cursor to the first item without choosing it.
  connect(this, &QListWidget::itemSelectionChanged, this, [this] {
    QModelIndexList chosen = selectedIndexes();
    Selected(chosen.isEmpty() ? -1 : chosen.first().row());
  });
}

void ListView::Apply(double twipsPerPixel) {
  look_.Apply(*this, list_, list_.ToolTipText, twipsPerPixel);
  applying_ = true;
  bool refilled = Changed(revision_, list_.Revision());
  if (refilled) {
    QStringList items;
    for (const std::string& item : list_.Items()) items.append(QtText(item));
    clear();
    addItems(items);
  }
  if (Changed(index_, list_.ListIndex) || refilled) {
    if (list_.ListIndex >= 0 && list_.ListIndex < count()) {
      setCurrentRow(list_.ListIndex);
    } else {
      clearSelection();
    }
  }
  applying_ = false;
}

// The arrows choose an item, not only move the keyboard cursor: with nothing
// chosen yet, Down and Home choose the first item and Up and End the last,
// so a list of one item can be used with the keys alone.
void ListView::keyPressEvent(QKeyEvent* event) {
  const int last = count() - 1;
  const QModelIndexList chosen = selectedIndexes();
  const int row = chosen.isEmpty() ? -1 : chosen.first().row();
  int next = row;
  switch (event->key()) {
    case Qt::Key_Home: next = 0; break;
    case Qt::Key_End: next = last; break;
    case Qt::Key_Down: next = row < 0 ? 0 : std::min(row + 1, last); break;
    case Qt::Key_Up: next = row < 0 ? last : std::max(row - 1, 0); break;
    default:
      QListWidget::keyPressEvent(event);
      return;
  }
  if (last < 0) return;
  setCurrentRow(next);
}

void ListView::Selected(int row) {
  if (applying_) return;
  input_.Select(list_, row);
}

}  // namespace kiravel::qt
