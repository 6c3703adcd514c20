#include "ui/controls.h"

#include <algorithm>

#include "platform/utf8.h"

namespace kiravel {

namespace {
// A single-line border of a panel takes this much of each side.
constexpr double kBorderTwips = 30;
const Scale kNoScale{0, 0, 1, 1};
}  // namespace

std::string Control::Id() const {
  if (Index < 0) return Name;
  return Name + "(" + std::to_string(Index) + ")";
}

bool Control::Shown() const {
  for (const Control* c = this; c != nullptr; c = c->Container) {
    if (!c->Visible) return false;
  }
  return true;
}

bool Control::Usable() const {
  for (const Control* c = this; c != nullptr; c = c->Container) {
    if (!c->Enabled) return false;
  }
  return true;
}

bool Control::LiesIn(const Control& panel) const {
  for (const Control* c = this; c != nullptr; c = c->Container) {
    if (c == &panel) return true;
  }
  return false;
}

const Scale& PlacedControl::ContainerScale() const {
  const auto* panel = dynamic_cast<const PictureBox*>(Container);
  return panel != nullptr ? panel->CurrentScale() : kNoScale;
}

double PlacedControl::TwipsPerUnitX() const {
  const auto* panel = dynamic_cast<const PictureBox*>(Container);
  if (panel == nullptr || panel->ScaleWidth() == 0) return 1;
  return panel->ClientWidthTwips() / panel->ScaleWidth();
}

double PlacedControl::TwipsPerUnitY() const {
  const auto* panel = dynamic_cast<const PictureBox*>(Container);
  if (panel == nullptr || panel->ScaleHeight() == 0) return 1;
  return panel->ClientHeightTwips() / panel->ScaleHeight();
}

double PlacedControl::Left() const {
  return ContainerScale().Left + LeftTwips / TwipsPerUnitX();
}
double PlacedControl::Top() const {
  return ContainerScale().Top + TopTwips / TwipsPerUnitY();
}
double PlacedControl::Width() const { return WidthTwips / TwipsPerUnitX(); }
double PlacedControl::Height() const { return HeightTwips / TwipsPerUnitY(); }

void PlacedControl::SetLeft(double units) {
  LeftTwips = (units - ContainerScale().Left) * TwipsPerUnitX();
}
void PlacedControl::SetTop(double units) {
  TopTwips = (units - ContainerScale().Top) * TwipsPerUnitY();
}
void PlacedControl::SetWidth(double units) {
  WidthTwips = std::max(0.0, units * TwipsPerUnitX());
}
void PlacedControl::SetHeight(double units) {
  HeightTwips = std::max(0.0, units * TwipsPerUnitY());
}
void PlacedControl::Move(double left, double top, double width, double height) {
  SetLeft(left);
  SetTop(top);
  SetWidth(width);
  SetHeight(height);
}

void TextBox::Type(const std::string& text) {
  std::u32string kept;
  for (char32_t c : Utf8ToCodePoints(text)) {
    if (!MultiLine && (c == U'\r' || c == U'\n')) continue;
    if (Accepts != nullptr && !Accepts(c)) continue;
    if (MaxLength > 0 && static_cast<int>(kept.size()) >= MaxLength) break;
    kept.push_back(c);
  }
  Text = CodePointsToUtf8(kept);
}

bool TextBox::Keeps(const std::string& text) const {
  const std::u32string points = Utf8ToCodePoints(text);
  if (MaxLength > 0 && points.size() > static_cast<std::size_t>(MaxLength)) return false;
  for (char32_t c : points) {
    if (!MultiLine && (c == U'\r' || c == U'\n')) return false;
    if (Accepts != nullptr && !Accepts(c)) return false;
  }
  return true;
}

void ListBox::MoveGap(std::size_t position) const {
  const std::size_t gap = GapSize();
  if (gap == 0) {
    gapStart_ = gapEnd_ = position;
    return;
  }
  while (gapStart_ > position) {  // items before the gap move behind it
    --gapStart_;
    --gapEnd_;
    slots_[gapEnd_] = std::move(slots_[gapStart_]);
  }
  while (gapStart_ < position) {  // items after the gap move in front of it
    slots_[gapStart_] = std::move(slots_[gapStart_ + gap]);
    ++gapStart_;
    ++gapEnd_;
  }
}

void ListBox::CloseGap() const {
  MoveGap(slots_.size() - GapSize());
  slots_.resize(gapStart_);
  gapEnd_ = gapStart_;
}

void ListBox::AddItem(std::string text) {
  CloseGap();
  slots_.push_back(std::move(text));
  gapStart_ = gapEnd_ = slots_.size();
  ++revision_;
}

void ListBox::RemoveItem(int index) {
  if (index < 0 || index >= ListCount()) return;
  MoveGap(static_cast<std::size_t>(index));
  slots_[gapEnd_].clear();
  ++gapEnd_;
  if (ListIndex == index) {
    ListIndex = -1;
  } else if (ListIndex > index) {
    --ListIndex;
  }
  ++revision_;
}

void ListBox::Clear() {
  slots_.clear();
  gapStart_ = gapEnd_ = 0;
  ListIndex = -1;
  ++revision_;
}

const std::string& ListBox::List(int k) const {
  static const std::string kNone;
  if (k < 0 || k >= ListCount()) return kNone;
  auto position = static_cast<std::size_t>(k);
  return slots_[position < gapStart_ ? position : position + GapSize()];
}

const std::vector<std::string>& ListBox::Items() const {
  CloseGap();
  return slots_;
}

double PictureBox::ClientWidthTwips() const {
  return std::max(0.0, WidthTwips - (Border ? 2 * kBorderTwips : 0));
}

double PictureBox::ClientHeightTwips() const {
  return std::max(0.0, HeightTwips - (Border ? 2 * kBorderTwips : 0));
}

void PictureBox::SetScale(double left, double top, double width, double height) {
  scale_ = Scale{left, top, width, height};
}

void PictureBox::SetScalePixels(double twipsPerPixel) {
  scale_ = Scale{0, 0, ClientWidthTwips() / twipsPerPixel,
                 ClientHeightTwips() / twipsPerPixel};
}

void Timer::SetEnabled(bool on) {
  if (on == Control::Enabled) return;
  Control::Enabled = on;
  TellCountChanged();
}

void Timer::SetInterval(std::int32_t ms) {
  if (ms == interval_) return;
  interval_ = ms;
  TellCountChanged();
}

}  // namespace kiravel
