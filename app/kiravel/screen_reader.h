// The window as a screen reader hears it: after each event of the game the
// controls' names, the bars' values, the story text and the news are brought
// in line with the game. While nothing listens on the accessibility bus this
// does no work at all.
#pragma once

#include <QWidget>

#include <functional>
#include <string>
#include <unordered_set>

#include "app/kiravel/accessible_widgets.h"
#include "app/kiravel/announcer.h"
#include "app/kiravel/views.h"
#include "core/fom.h"
#include "events/picture_descriptions.h"

namespace kiravel::qt {

class ScreenReader {
 public:
  // viewOf gives the view of a control, or null for one that is not drawn.
  ScreenReader(Fom& fom, QWidget& window, PlayerInput& input,
               std::function<View*(const Control&)> viewOf);

  void Sync();
  // A message box is about to open, the window in line with the game: what
  // it says is news.
  void BoxOpening(const std::string& text);

 private:
  void Describe(const Control& control, View& view);
  void Name(const Control& control, QWidget& widget);

  Fom& fom_;
  QWidget& window_;
  PlayerInput& input_;
  std::function<View*(const Control&)> viewOf_;
  NewsLine* news_;
  Announcer announcer_;
  PictureDescriptions pictures_;
  bool picturesRead_ = false;
  std::unordered_set<const QWidget*> described_;
};

}  // namespace kiravel::qt
