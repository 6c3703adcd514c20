// The window's controls as a plain model: what the game sets and reads, and
// what the front ends draw. No toolkit lives here.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/image.h"

namespace kiravel {

enum class ControlKind {
  Window,
  PictureBox,
  CommandButton,
  Label,
  TextBox,
  ListBox,
  Shape,
  Timer,
  MenuItem,
};

enum class Alignment { Left, Right, Center };

// A colour as 0xRRGGBB.
using Colour = std::uint32_t;
constexpr Colour Rgb(int r, int g, int b) {
  return static_cast<Colour>((r << 16) | (g << 8) | b);
}


// What every control has: its name, its index in a control array (-1 for a
// single control), its container and its own visibility.
class Control {
 public:
  Control(ControlKind kind, std::string name, std::int16_t index = -1)
      : Kind(kind), Name(std::move(name)), Index(index) {}
  virtual ~Control() = default;
  Control(const Control&) = default;
  Control& operator=(const Control&) = default;

  // "Com(3)" for an array item, "Lbl" for a single control.
  std::string Id() const;
  // Visible itself and inside visible containers all the way up.
  bool Shown() const;
  // Enabled itself and inside enabled containers all the way up.
  bool Usable() const;
  // This control is the panel or lies in it, however deep.
  bool LiesIn(const Control& panel) const;

  ControlKind Kind;
  std::string Name;
  std::int16_t Index;
  Control* Container = nullptr;
  bool Visible = true;
  bool Enabled = true;
};

// The client area of a container: its size in twips and the user coordinate
// system laid over it. Children keep their place in twips, so changing the
// scale (as the picture calls do) never moves them.
struct Scale {
  double Left = 0;
  double Top = 0;
  double Width = 1;
  double Height = 1;
};

// A control with a place in its container, a font and colours.
class PlacedControl : public Control {
 public:
  using Control::Control;

  // Position and size in the container's units.
  double Left() const;
  double Top() const;
  double Width() const;
  double Height() const;
  void SetLeft(double units);
  void SetTop(double units);
  void SetWidth(double units);
  void SetHeight(double units);
  void Move(double left, double top, double width, double height);

  // The place in twips relative to the container's client area.
  double LeftTwips = 0;
  double TopTwips = 0;
  double WidthTwips = 0;
  double HeightTwips = 0;

  Colour BackColor = Rgb(255, 255, 255);
  Colour ForeColor = Rgb(0, 0, 0);
  int FontSize = 9;
  std::string FontName;  // empty: the window's default font
  bool FontBold = false;
  bool Border = false;
  // Front ends draw panels, buttons, lists and text boxes above labels and
  // shapes; among labels a higher ZOrder lies on top.
  int ZOrder = 0;

 protected:
  // Twips per unit along x and y in the container's coordinate system.
  double TwipsPerUnitX() const;
  double TwipsPerUnitY() const;
  const Scale& ContainerScale() const;
};

class CommandButton : public PlacedControl {
 public:
  explicit CommandButton(std::string name, std::int16_t index = -1)
      : PlacedControl(ControlKind::CommandButton, std::move(name), index) {}
  std::string Caption;
  std::string ToolTipText;
};

class Label : public PlacedControl {
 public:
  explicit Label(std::string name, std::int16_t index = -1)
      : PlacedControl(ControlKind::Label, std::move(name), index) {}
  std::string Caption;
  std::string ToolTipText;
  Alignment Align = Alignment::Left;
  bool Opaque = false;
};

class TextBox : public PlacedControl {
 public:
  explicit TextBox(std::string name, std::int16_t index = -1)
      : PlacedControl(ControlKind::TextBox, std::move(name), index) {}

  // What typing does: drops what the box refuses (line breaks in a
  // single-line box, characters its filter rejects), then cuts the text to
  // MaxLength characters.
  void Type(const std::string& text);
  // Whether typing the text would keep all of it.
  bool Keeps(const std::string& text) const;

  std::string Text;
  std::string ToolTipText;
  int MaxLength = 0;  // characters; 0 means no limit
  bool MultiLine = false;
  bool VerticalScrollBar = false;
  // Characters the box takes when typed; null takes everything.
  bool (*Accepts)(char32_t) = nullptr;
};

// A list of texts that keeps the order items were added in and has at most
// one selected item. Every change of the items bumps Revision, so a front
// end can tell when to redraw without comparing the items.
//
// The items sit in a gap buffer: the free slots follow the last removal, so
// the tavern, which settles its jobs from the last one down, removes any
// number of them in time linear in the list's length.
class ListBox : public PlacedControl {
 public:
  explicit ListBox(std::string name, std::int16_t index = -1)
      : PlacedControl(ControlKind::ListBox, std::move(name), index) {}

  void AddItem(std::string text);
  void RemoveItem(int index);
  void Clear();
  int ListCount() const { return static_cast<int>(slots_.size() - GapSize()); }
  // Item k, or "" when k is outside the list (as the selected text reads
  // when nothing is selected).
  const std::string& List(int k) const;
  // All items in order.
  const std::vector<std::string>& Items() const;
  // The text of the selected item, "" when none is selected.
  const std::string& Text() const { return List(ListIndex); }
  std::uint64_t Revision() const { return revision_; }

  int ListIndex = -1;
  std::string ToolTipText;

 private:
  std::size_t GapSize() const { return gapEnd_ - gapStart_; }
  // Moves the free slots to sit in front of item position.
  void MoveGap(std::size_t position) const;
  // Drops the free slots, leaving the items alone in slots_.
  void CloseGap() const;

  mutable std::vector<std::string> slots_;
  mutable std::size_t gapStart_ = 0;
  mutable std::size_t gapEnd_ = 0;
  std::uint64_t revision_ = 0;
};

class Shape : public PlacedControl {
 public:
  explicit Shape(std::string name, std::int16_t index = -1)
      : PlacedControl(ControlKind::Shape, std::move(name), index) {}
  Colour FillColor = Rgb(0, 0, 0);
};

class PictureBox : public PlacedControl {
 public:
  explicit PictureBox(std::string name, std::int16_t index = -1)
      : PlacedControl(ControlKind::PictureBox, std::move(name), index) {}

  // The client area in twips: the panel less its border.
  double ClientWidthTwips() const;
  double ClientHeightTwips() const;

  double ScaleLeft() const { return scale_.Left; }
  double ScaleTop() const { return scale_.Top; }
  double ScaleWidth() const { return scale_.Width; }
  double ScaleHeight() const { return scale_.Height; }
  // A user coordinate system over the client area.
  void SetScale(double left, double top, double width, double height);
  // Pixels: origin at the top left, one unit per pixel.
  void SetScalePixels(double twipsPerPixel);
  const Scale& CurrentScale() const { return scale_; }

  std::string ToolTipText;
  // What is painted on the panel: the picture and the file it came from
  // (relative to the program folder, with "/"), or nothing after a clear.
  std::shared_ptr<const Image> Picture;
  std::string PictureFile;
  // Counts the paints and clears, so a front end knows when to repaint.
  std::uint64_t PaintCount = 0;

 private:
  Scale scale_;
};

// The window itself: its caption, its place on the screen and its client
// area's coordinate system.
class Window : public PictureBox {
 public:
  explicit Window(std::string name) : PictureBox(std::move(name)) {
    Kind = ControlKind::Window;
  }
  std::string Caption;
  // Outer place and size on the screen, in twips.
  std::int32_t WindowLeft = 0;
  std::int32_t WindowTop = 0;
  std::int32_t WindowWidth = 0;
  std::int32_t WindowHeight = 0;
};

// A timer ticks only while it is switched on with an interval: an enabled
// timer of interval 0 stands still, as the typing timer does at the fastest
// text speed. Said once, for the game, both front ends and the soak, which
// reads it off the runner's dump.
constexpr bool TimerRuns(bool enabled, std::int32_t interval) { return enabled && interval > 0; }

class Timer : public Control {
 public:
  explicit Timer(std::string name)
      : Control(ControlKind::Timer, std::move(name)) {
    Visible = false;
  }
  Timer(const Timer&) = delete;
  Timer& operator=(const Timer&) = delete;

  // A timer changes only through these two. Its countdown starts afresh when
  // it is switched on or given a new interval, and stops when it is switched
  // off; each such moment is told to the front end that runs the timer.
  void SetEnabled(bool on);
  void SetInterval(std::int32_t ms);
  bool Enabled() const { return Control::Enabled; }
  std::int32_t Interval() const { return interval_; }
  bool Runs() const { return TimerRuns(Enabled(), interval_); }

  // The front end's ear: null while no front end runs the timer. It hears
  // the timer after the change, and reads Enabled and Interval from it.
  std::function<void(const Timer&)> CountChanged;

 private:
  void TellCountChanged() const {
    if (CountChanged) CountChanged(*this);
  }

  std::int32_t interval_ = 0;
};

class MenuItem : public Control {
 public:
  explicit MenuItem(std::string name, std::int16_t index = -1)
      : Control(ControlKind::MenuItem, std::move(name), index) {}
  std::string Caption;
  std::vector<MenuItem*> Children;
};

// A family of controls sharing one name and one handler, indexed by a
// 16-bit number. Items absent from the window description are created at
// start-up as copies of item 0.
template <class T>
class ControlArray {
 public:
  explicit ControlArray(std::string name) : name_(std::move(name)) {}

  T& operator[](int index) { return *items_.at(static_cast<std::int16_t>(index)); }
  const T& operator[](int index) const {
    return *items_.at(static_cast<std::int16_t>(index));
  }
  bool Exists(int index) const {
    return items_.count(static_cast<std::int16_t>(index)) != 0;
  }
  // Creates an item of the description.
  T& Add(std::int16_t index) {
    auto item = std::make_unique<T>(name_, index);
    T& ref = *item;
    items_[index] = std::move(item);
    return ref;
  }
  // Creates a new item as a copy of item 0, hidden.
  T& Load(std::int16_t index) {
    auto item = std::make_unique<T>(*items_.at(0));
    item->Index = index;
    item->Visible = false;
    T& ref = *item;
    items_[index] = std::move(item);
    return ref;
  }
  int UBound() const { return items_.empty() ? -1 : items_.rbegin()->first; }
  const std::string& Name() const { return name_; }

  template <class F>
  void ForEach(F&& f) {
    for (auto& [index, item] : items_) f(*item);
  }

 private:
  std::string name_;
  std::map<std::int16_t, std::unique_ptr<T>> items_;
};

}  // namespace kiravel
