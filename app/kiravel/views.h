// One widget per control of the game's window. Each view shows its control
// and, after every event the game has handled, brings its widget in line
// with the control, touching only what changed since it last looked.
#pragma once

#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QLineEdit>
#include <QPalette>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRect>
#include <QString>
#include <QWidget>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <tuple>

#include "ui/controls.h"

namespace kiravel::qt {

// Where the views send what the player does.
class PlayerInput {
 public:
  virtual ~PlayerInput() = default;
  // A click on the control; the window runs its click handler, if it has one.
  virtual void Click(const Control& control) = 0;
  // The same click from the keyboard: what it opens (the popup menu) opens
  // at the control rather than at the mouse pointer.
  virtual void KeyClick(const Control& control) = 0;
  // The player chooses an item of a list (-1: none).
  virtual void Select(ListBox& list, int index) = 0;
  // The player's typing leaves this text in the box, which keeps what it takes.
  virtual void Type(TextBox& box, const std::string& text) = 0;
};

// The game's text as the widgets take it: UTF-8, line breaks as "\n".
QString QtText(const std::string& text);
QColor QtColour(Colour colour);
// The control's place in pixels within its container's client area.
QRect PixelRect(const PlacedControl& control, double twipsPerPixel);
// Enter or Space: what presses the control that has the focus.
bool PressesFocusedControl(const QKeyEvent& event);

// True, noting the new value, when it differs from the last one seen.
template <class T>
bool Changed(std::optional<T>& last, const T& now) {
  if (last && *last == now) return false;
  last = now;
  return true;
}

// What every placed control shows the same way: place, visibility, enabled
// state, font, colours and tooltip.
class PlacedLook {
 public:
  // back and text are the palette roles this kind of widget paints its
  // colours with; NoRole leaves the palette alone.
  PlacedLook(QPalette::ColorRole back, QPalette::ColorRole text) : back_(back), text_(text) {}
  void Apply(QWidget& widget, const PlacedControl& control, const std::string& toolTip,
             double twipsPerPixel);

 private:
  struct Place {
    double left, top, width, height, twipsPerPixel;
    bool operator==(const Place&) const = default;
  };
  struct Font {
    std::string name;
    int size;
    bool bold;
  };
  QPalette::ColorRole back_;
  QPalette::ColorRole text_;
  std::optional<Place> place_;
  std::optional<bool> visible_;
  std::optional<bool> enabled_;
  std::optional<Font> font_;
  std::optional<std::pair<Colour, Colour>> colours_;
  std::optional<std::string> toolTip_;
};

class View {
 public:
  virtual ~View() = default;
  virtual QWidget& Widget() = 0;
  // The widget the control's children lie in; only panels have one.
  virtual QWidget* Client() { return nullptr; }
  virtual void Apply(double twipsPerPixel) = 0;
};

// A command button whose caption wraps onto further lines where it is too
// wide, as the window's buttons do; Enter and Space press it.
class ButtonView : public QPushButton, public View {
 public:
  ButtonView(CommandButton& button, PlayerInput& input, QWidget* parent);
  QWidget& Widget() override { return *this; }
  void Apply(double twipsPerPixel) override;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void keyReleaseEvent(QKeyEvent* event) override;

 private:
  CommandButton& button_;
  // Set while a key presses the button.
  bool byKey_ = false;
  PlacedLook look_{QPalette::Button, QPalette::ButtonText};
  std::optional<std::string> caption_;
};

class LabelView : public QLabel, public View {
 public:
  LabelView(Label& label, PlayerInput& input, QWidget* parent);
  QWidget& Widget() override { return *this; }
  void Apply(double twipsPerPixel) override;

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  Label& label_;
  PlayerInput& input_;
  PlacedLook look_{QPalette::Window, QPalette::WindowText};
  std::optional<std::string> caption_;
  std::optional<std::tuple<Alignment, bool, bool>> style_;  // alignment, opaque, border
};

// The courier's name: one line, typed through the control so that its
// length limit and refused characters hold.
class LineView : public QLineEdit, public View {
 public:
  LineView(TextBox& box, PlayerInput& input, QWidget* parent);
  QWidget& Widget() override { return *this; }
  void Apply(double twipsPerPixel) override;

 private:
  void Edited(const QString& text);
  TextBox& box_;
  PlayerInput& input_;
  PlacedLook look_{QPalette::Base, QPalette::Text};
  std::optional<std::string> text_;
  std::optional<std::pair<int, bool>> style_;  // maximum length, border
};

// The battle messages: several lines with a vertical scroll bar.
class TextAreaView : public QPlainTextEdit, public View {
 public:
  TextAreaView(TextBox& box, PlayerInput& input, QWidget* parent);
  QWidget& Widget() override { return *this; }
  void Apply(double twipsPerPixel) override;

 private:
  void Edited();
  TextBox& box_;
  PlayerInput& input_;
  PlacedLook look_{QPalette::Base, QPalette::Text};
  std::optional<std::string> text_;
  std::optional<std::pair<bool, bool>> style_;  // border, scroll bar
  bool applying_ = false;
};

// A list in the order its items were added, with at most one selected.
class ListView : public QListWidget, public View {
 public:
  ListView(ListBox& list, PlayerInput& input, QWidget* parent);
  QWidget& Widget() override { return *this; }
  void Apply(double twipsPerPixel) override;

 protected:
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void Selected(int row);
  ListBox& list_;
  PlayerInput& input_;
  PlacedLook look_{QPalette::Base, QPalette::Text};
  std::optional<std::uint64_t> revision_;
  std::optional<int> index_;
  bool applying_ = false;
};

// A picture panel: a border around a client area that holds the panel's
// children and shows the picture painted on it, stretched to fill it.
class PanelView : public QWidget, public View {
 public:
  PanelView(PictureBox& panel, PlayerInput& input, QWidget* parent);
  QWidget& Widget() override { return *this; }
  QWidget* Client() override;
  void Apply(double twipsPerPixel) override;
  // The picture the game has just painted again is not shown: the one the
  // panel shows stays, stretched to the panel's new size. Before the panel
  // has shown any picture of the game this does nothing.
  void KeepShownPicture();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  class Canvas;
  PictureBox& panel_;
  PlayerInput& input_;
  Canvas* client_;
  PlacedLook look_{QPalette::NoRole, QPalette::NoRole};
  std::optional<QRect> clientRect_;
  std::optional<std::pair<Colour, bool>> style_;  // background, border
  std::optional<std::uint64_t> paintCount_;
};

// A filled rectangle drawn on its container; clicks pass through it.
class ShapeView : public QWidget, public View {
 public:
  ShapeView(Shape& shape, QWidget* parent);
  QWidget& Widget() override { return *this; }
  void Apply(double twipsPerPixel) override;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  Shape& shape_;
  PlacedLook look_{QPalette::NoRole, QPalette::NoRole};
  std::optional<Colour> fill_;
};

// The view for a control of the window, owned by its parent widget, or null
// for what is not drawn (the window itself, timers, menu items).
View* MakeView(Control& control, PlayerInput& input, QWidget* parent);

}  // namespace kiravel::qt
