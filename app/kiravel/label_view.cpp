#include <QMouseEvent>

#include "app/kiravel/views.h"

namespace kiravel::qt {

namespace {

Qt::Alignment QtAlignment(Alignment align) {
  switch (align) {
    case Alignment::Left:
      return Qt::AlignLeft;
    case Alignment::Right:
      return Qt::AlignRight;
    case Alignment::Center:
      return Qt::AlignHCenter;
  }
  return Qt::AlignLeft;
}

}  // namespace

LabelView::LabelView(Label& label, PlayerInput& input, QWidget* parent)
    : QLabel(parent), label_(label), input_(input) {
  setTextFormat(Qt::PlainText);
  setWordWrap(true);
  setFocusPolicy(Qt::NoFocus);
  setFrameShadow(QFrame::Plain);
}

void LabelView::Apply(double twipsPerPixel) {
  look_.Apply(*this, label_, label_.ToolTipText, twipsPerPixel);
  if (Changed(style_, {label_.Align, label_.Opaque, label_.Border})) {
    // Text starts at the top, as the story text grows downwards line by line.
    setAlignment(QtAlignment(label_.Align) | Qt::AlignTop);
    // A transparent label lets the picture beneath show around its text.
    setAutoFillBackground(label_.Opaque);
    setFrameShape(label_.Border ? QFrame::Box : QFrame::NoFrame);
  }
  if (Changed(caption_, label_.Caption)) setText(QtText(label_.Caption));
}

// A label takes the click itself, whether or not the game listens to it,
// so a click on it never reaches the panel beneath.
void LabelView::mousePressEvent(QMouseEvent* event) { event->accept(); }

void LabelView::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton || !rect().contains(event->position().toPoint())) return;
  input_.Click(label_);
}

}  // namespace kiravel::qt
