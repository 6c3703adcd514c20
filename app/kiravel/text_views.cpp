#include "app/kiravel/views.h"

namespace kiravel::qt {

namespace {

// No text box of the game holds anywhere near this much.
constexpr int kUnlimitedLength = 32767;

}  // namespace

LineView::LineView(TextBox& box, PlayerInput& input, QWidget* parent)
    : QLineEdit(parent), box_(box), input_(input) {
  connect(this, &QLineEdit::textEdited, this, &LineView::Edited);
}

void LineView::Apply(double twipsPerPixel) {
  look_.Apply(*this, box_, box_.ToolTipText, twipsPerPixel);
  if (Changed(style_, {box_.MaxLength, box_.Border})) {
    setMaxLength(box_.MaxLength > 0 ? box_.MaxLength : kUnlimitedLength);
    setFrame(box_.Border);
  }
  // Typing the box kept as it was leaves the cursor where the player put it.
  if (Changed(text_, box_.Text) && text() != QtText(box_.Text)) setText(QtText(box_.Text));
}

// The box decides what it keeps of the typing.
void LineView::Edited(const QString& text) { input_.Type(box_, text.toStdString()); }

TextAreaView::TextAreaView(TextBox& box, PlayerInput& input, QWidget* parent)
    : QPlainTextEdit(parent), box_(box), input_(input) {
  connect(this, &QPlainTextEdit::textChanged, this, &TextAreaView::Edited);
}

void TextAreaView::Apply(double twipsPerPixel) {
  look_.Apply(*this, box_, box_.ToolTipText, twipsPerPixel);
  if (Changed(style_, {box_.Border, box_.VerticalScrollBar})) {
    setFrameShape(box_.Border ? QFrame::StyledPanel : QFrame::NoFrame);
    setVerticalScrollBarPolicy(box_.VerticalScrollBar ? Qt::ScrollBarAlwaysOn
                                                      : Qt::ScrollBarAsNeeded);
  }
  if (Changed(text_, box_.Text) && toPlainText() != QtText(box_.Text)) {
    applying_ = true;
    setPlainText(QtText(box_.Text));
    applying_ = false;
  }
}

void TextAreaView::Edited() {
  if (applying_) return;
  input_.Type(box_,
              toPlainText().replace(QStringLiteral("\n"), QStringLiteral("\r\n")).toStdString());
}

}  // namespace kiravel::qt
