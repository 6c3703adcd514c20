#include <QKeyEvent>
#include <QStyleOptionButton>
#include <QStylePainter>

#include "app/kiravel/views.h"

namespace kiravel::qt {

ButtonView::ButtonView(CommandButton& button, PlayerInput& input, QWidget* parent)
    : QPushButton(parent), button_(button) {
  connect(this, &QPushButton::clicked, this, [this, &input] {
    if (byKey_) {
      input.KeyClick(button_);
    } else {
      input.Click(button_);
    }
  });
}

void ButtonView::Apply(double twipsPerPixel) {
  look_.Apply(*this, button_, button_.ToolTipText, twipsPerPixel);
  if (Changed(caption_, button_.Caption)) setText(QtText(button_.Caption));
}

// The commands are long Japanese phrases on narrow buttons: the caption
// breaks between characters rather than running off the button's edges.
void ButtonView::paintEvent(QPaintEvent*) {
  QStylePainter painter(this);
  QStyleOptionButton option;
  initStyleOption(&option);
  option.text.clear();
  painter.drawControl(QStyle::CE_PushButton, option);
  QRect area = style()->subElementRect(QStyle::SE_PushButtonContents, &option, this);
  QPalette::ColorGroup group = isEnabled() ? QPalette::Active : QPalette::Disabled;
  painter.setPen(option.palette.color(group, QPalette::ButtonText));
  painter.drawText(area, Qt::AlignCenter | Qt::TextWordWrap, text());
}

void ButtonView::keyPressEvent(QKeyEvent* event) {
  byKey_ = true;
  if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
    click();
  } else {
    QPushButton::keyPressEvent(event);
  }
  byKey_ = false;
}

// Space presses the button when it is let go.
void ButtonView::keyReleaseEvent(QKeyEvent* event) {
  byKey_ = true;
  QPushButton::keyReleaseEvent(event);
  byKey_ = false;
}

}  // namespace kiravel::qt
