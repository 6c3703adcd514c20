#include "app/kiravel/scene_preview.h"

#include <QShortcut>

#include <utility>

namespace kiravel::qt {

ScenePreview::ScenePreview(GameWindow& window, std::string scene)
    : QObject(&window), window_(window), scene_(std::move(scene)) {
  // F5 is what a browser reloads a page with; the game itself has no use for it.
  auto* reload = new QShortcut(QKeySequence(Qt::Key_F5), &window_);
  connect(reload, &QShortcut::activated, this, [this] { Play(); });
}

void ScenePreview::Play() { window_.PreviewScene(scene_); }

}  // namespace kiravel::qt
