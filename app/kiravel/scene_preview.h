// kiravel --scene NAME: an author's look at one scene. The window opens on a
// fresh easy game playing the scene file NAME; F5 reads the file again and plays it
// from its first page, so an author edits, saves and sees. Without --scene
// none of it exists.
#pragma once

#include <QObject>

#include <string>

#include "app/kiravel/game_window.h"

namespace kiravel::qt {

class ScenePreview : public QObject {
 public:
  ScenePreview(GameWindow& window, std::string scene);
  // Plays the scene from its first page, read afresh.
  void Play();

 private:
  GameWindow& window_;
  std::string scene_;
};

}  // namespace kiravel::qt
