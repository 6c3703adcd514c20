#include <QApplication>
#include <QFont>

#include <algorithm>
#include <cmath>

#include "app/kiravel/views.h"

namespace kiravel::qt {

namespace {

// Far beyond any screen, yet inside what a widget can measure.
constexpr double kFarthestPixel = 1e7;

int Pixels(double twips, double twipsPerPixel) {
  return static_cast<int>(
      std::lround(std::clamp(twips / twipsPerPixel, -kFarthestPixel, kFarthestPixel)));
}

QFont FontOf(const PlacedControl& control) {
  QFont font = QApplication::font();
  if (!control.FontName.empty()) font.setFamily(QString::fromStdString(control.FontName));
  font.setBold(control.FontBold);
  // A tiny window asks for sizes below a point; the smallest the font has is
  // as near as it gets.
  font.setPointSize(std::max(1, control.FontSize));
  return font;
}

}  // namespace

QString QtText(const std::string& text) {
  QString qt = QString::fromStdString(text);
  qt.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  return qt;
}

QColor QtColour(Colour colour) {
  return QColor(static_cast<int>((colour >> 16) & 0xFF), static_cast<int>((colour >> 8) & 0xFF),
                static_cast<int>(colour & 0xFF));
}

// Both edges are rounded, not the width, so neighbours meet without a gap.
QRect PixelRect(const PlacedControl& control, double twipsPerPixel) {
  int left = Pixels(control.LeftTwips, twipsPerPixel);
  int top = Pixels(control.TopTwips, twipsPerPixel);
  int right = Pixels(control.LeftTwips + control.WidthTwips, twipsPerPixel);
  int bottom = Pixels(control.TopTwips + control.HeightTwips, twipsPerPixel);
  return QRect(left, top, std::max(0, right - left), std::max(0, bottom - top));
}

bool PressesFocusedControl(const QKeyEvent& event) {
  return event.key() == Qt::Key_Return || event.key() == Qt::Key_Enter ||
         event.key() == Qt::Key_Space;
}

void PlacedLook::Apply(QWidget& widget, const PlacedControl& control, const std::string& toolTip,
                       double twipsPerPixel) {
  Place place{control.LeftTwips, control.TopTwips, control.WidthTwips, control.HeightTwips,
              twipsPerPixel};
  if (Changed(place_, place)) widget.setGeometry(PixelRect(control, twipsPerPixel));
  // Compared field by field, without copying the name: this runs for every
  // control after every tick of the music's check.
  bool fontChanged = !font_ || font_->size != control.FontSize ||
                     font_->bold != control.FontBold || font_->name != control.FontName;
  if (fontChanged) {
    font_ = Font{control.FontName, control.FontSize, control.FontBold};
    widget.setFont(FontOf(control));
  }
  if (back_ != QPalette::NoRole && Changed(colours_, {control.BackColor, control.ForeColor})) {
    QPalette palette = widget.palette();
    palette.setColor(back_, QtColour(control.BackColor));
    // A disabled control keeps the toolkit's greyed text.
    palette.setColor(QPalette::Active, text_, QtColour(control.ForeColor));
    palette.setColor(QPalette::Inactive, text_, QtColour(control.ForeColor));
    widget.setPalette(palette);
  }
  if (Changed(toolTip_, toolTip)) widget.setToolTip(QtText(toolTip));
  if (Changed(enabled_, control.Enabled)) widget.setEnabled(control.Enabled);
  if (Changed(visible_, control.Visible)) widget.setVisible(control.Visible);
}

View* MakeView(Control& control, PlayerInput& input, QWidget* parent) {
  switch (control.Kind) {
    case ControlKind::CommandButton:
      return new ButtonView(static_cast<CommandButton&>(control), input, parent);
    case ControlKind::Label:
      return new LabelView(static_cast<Label&>(control), input, parent);
    case ControlKind::TextBox: {
      auto& box = static_cast<TextBox&>(control);
      if (box.MultiLine) return new TextAreaView(box, input, parent);
      return new LineView(box, input, parent);
    }
    case ControlKind::ListBox:
      return new ListView(static_cast<ListBox&>(control), input, parent);
    case ControlKind::PictureBox:
      return new PanelView(static_cast<PictureBox&>(control), input, parent);
    case ControlKind::Shape:
      return new ShapeView(static_cast<Shape&>(control), parent);
    case ControlKind::Window:
    case ControlKind::Timer:
    case ControlKind::MenuItem:
      return nullptr;
  }
  return nullptr;
}

}  // namespace kiravel::qt
