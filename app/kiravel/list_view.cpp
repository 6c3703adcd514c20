#include <QStringList>

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

void ListView::Selected(int row) {
  if (applying_) return;
  input_.Select(list_, row);
}

}  // namespace kiravel::qt
