// Reading the story as players of story games expect: the history of the
// pages shown, the auto-advance and the fast-forward through what was read.
// All of it stands beside the game: switched off, nothing here reaches the
// game, and what it does reach it with is the player's own click on the
// story text.
#pragma once

#include <QLabel>
#include <QObject>
#include <QPointer>

#include <optional>
#include <string>
#include <vector>

#include "app/kiravel/page_pacer.h"
#include "app/kiravel/read_pages.h"
#include "desktop/story_history.h"
#include "core/fom.h"
#include "scenario/command.h"

class QKeyEvent;

namespace kiravel::qt {

class GameWindow;
class HistoryView;

class StoryReading : public QObject {
 public:
  StoryReading(GameWindow& window, Fom& fom);

  // What an event of the game began: a new game, a load, or neither.
  static std::optional<StoryHistory::Kind> GameBegun(const std::vector<scenario::Command>& played,
                                                     const MenuItem* chosen, const Fom& fom);
  // After every event, once the window shows what it changed: the page
  // shown goes into the history and is marked read, and the pacer looks at
  // it.
  void AfterEvent(std::optional<StoryHistory::Kind> begun);
  // A message box comes up: nothing is clicked behind it, and a
  // fast-forward stops there.
  void BoxOpening();
  // A key the window did not otherwise take; true when it was one of ours.
  bool Key(const QKeyEvent& event);
  // Ctrl pressed or let go anywhere in the window.
  void CtrlHeld(bool held);
  void WheelUp();

  void OpenHistory();
  void CloseHistory();
  // While the history is open the scene waits: nothing reaches the game.
  bool HistoryOpen() const { return historyOpen_; }
  void ToggleAutoAdvance();
  void ToggleSkipping();
  // Looks again whether to read on: something that kept the pacer waiting
  // (a dialog, the history) is gone, or a setting changed.
  void Reconsider();

  // From now on what was read is kept for the data folder in the player's
  // folder, and what was kept there before counts as read.
  void KeepReadPagesIn(const std::string& playerFolder);
  // Writes what was read, now (the window is closing).
  void KeepReadPages() { readPages_.Keep(); }

  const StoryHistory& History() const { return history_; }
  HistoryView* HistoryWidget() const { return view_; }
  PagePacer& Pacer() { return pacer_; }
  const ReadPages& Read() const { return readPages_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  PagePacer::Page Faced() const;
  bool CanOpenHistory() const;
  bool TypingHere() const;
  void ReadOnByItself();
  void ShowMode();

  GameWindow& window_;
  Fom& fom_;
  StoryHistory history_;
  ReadPages readPages_;
  // Where what was read is kept, until the game has loaded its data folder.
  std::string playerFolder_;
  PagePacer pacer_;
  PagePacer::Page page_;
  bool wasInScene_ = false;
  bool historyOpen_ = false;
  HistoryView* view_ = nullptr;
  QPointer<QWidget> focusBefore_;
  QLabel* mark_;
  QString title_;
};

}  // namespace kiravel::qt
