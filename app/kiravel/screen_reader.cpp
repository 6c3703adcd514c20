#include "app/kiravel/screen_reader.h"

#include <QAccessible>

#include "app/kiravel/accessible_names.h"
#include "ui/handlers.h"

namespace kiravel::qt {

ScreenReader::ScreenReader(Fom& fom, QWidget& window, PlayerInput& input,
                           std::function<View*(const Control&)> viewOf)
    : fom_(fom), window_(window), input_(input), viewOf_(std::move(viewOf)), news_(new NewsLine(window)) {
  DescribeWindowToTheBus();
  ListChildrenOnTheBus(window_);
}

void ScreenReader::Sync() {
  if (!QAccessible::isActive()) {
    // Whoever listens next hears news from where the game then stands.
    announcer_.Forget();
    return;
  }
  if (!picturesRead_) {
    pictures_ = PictureDescriptions::Read(fom_.AppPath);
    picturesRead_ = true;
  }
  for (Control* control : fom_.AllControls()) {
    View* view = viewOf_(*control);
    if (view == nullptr) continue;
    QWidget& widget = view->Widget();
    if (described_.insert(&widget).second) Describe(*control, *view);
    if (KeptOffTheBus(widget)) continue;
    Name(*control, widget);
    if (IsMeter(fom_, *control)) {
      const MeterReading reading = ReadMeter(fom_, *control);
      SetMeter(widget, reading.value, reading.maximum);
    }
  }
  // On the start panel the window itself holds the focus, until the player
  // moves onto a start button: its name says where the player is.
  const QString where = fom_.PicStt.Shown() ? QtText(fom_.fom.Caption + "　スタート画面") : QString();
  if (window_.accessibleName() != where) window_.setAccessibleName(where);
  if (View* story = viewOf_(fom_.Lbl)) {
    SetSpokenText(story->Widget(), QtText(ScenePlaying(fom_) ? SpokenPage(fom_) : ""));
  }
  news_->Tell(QtText(announcer_.News(fom_)));
}

void ScreenReader::BoxOpening(const std::string& text) {
  if (!QAccessible::isActive()) return;
  news_->Tell(QtText(Announcer::BoxNews(text)));
}

void ScreenReader::Describe(const Control& control, View& view) {
  QWidget& widget = view.Widget();
  if (OnlyDrawn(fom_, control)) {
    KeepOffTheBus(widget);
    return;
  }
  if (control.Kind == ControlKind::PictureBox) {
    ListChildrenOnTheBus(widget);
    ReadAsPicture(widget, ShowsPictures(fom_, control));
    if (QWidget* client = view.Client()) ListChildrenOnTheBus(*client);
  }
  if (IsMeter(fom_, control)) ReadAsMeter(widget);
  if (&control == &fom_.Lbl) ReadAsText(widget);
  // The picture and the story text read on when clicked; their widgets are
  // no buttons, so the bus is given the click.
  if (control.Kind != ControlKind::CommandButton && FindClick(control.Name) != nullptr) {
    PressedBy(widget, [this, &control] { input_.Click(control); });
  }
}

void ScreenReader::Name(const Control& control, QWidget& widget) {
  const QString name = QtText(AccessibleName(fom_, control, pictures_));
  if (!name.isEmpty() && widget.accessibleName() != name) widget.setAccessibleName(name);
}

}  // namespace kiravel::qt
