// Reading on by itself: the auto-advance, which waits at a page mark for a
// time that grows with the page and then clicks the text as the player
// would, and the fast-forward, which clicks at a fast fixed pace through
// pages read before. The pacer only decides when; the click it asks for is
// the player's own click on the story text, so a recording holds it and
// the runner replays it.
#pragma once

#include <QObject>
#include <QTimer>

#include <functional>

namespace kiravel::qt {

class PagePacer : public QObject {
 public:
  struct Settings {
    int baseDelayMs = 1500;
    int perCharacterMs = 60;
    bool skipUnread = false;  // the fast-forward goes on past unread pages too
  };
  // What the window faces after an event.
  struct Page {
    bool inScene = false;    // a scene's text is shown and its script is open
    bool waits = false;      // the page stops at "▽" or "▼" for a click
    bool endsScene = false;  // the click would end the scene
    bool read = false;       // the page was read before it was shown now
    int characters = 0;      // on the page, marks and line breaks left out
  };
  enum class Skip { Off, Held, Switched };

  // click delivers the click; it is asked only when the pacer's time has
  // come, and may find the window unable to take it.
  PagePacer(std::function<void()> click, QObject* parent);

  // Looks at the page afresh: starts the wait the page asks for, or none.
  void Look(const Page& page);
  // Nothing may be clicked for now (a box, the history, a menu): the wait
  // stops until the next Look.
  void Pause() { timer_.stop(); }

  bool AutoAdvance() const { return autoAdvance_; }
  void SetAutoAdvance(bool on) { autoAdvance_ = on; }
  Skip Skipping() const { return skip_; }
  // Ctrl held or let go, S switched: a fast-forward stopped at an unread
  // page starts again only when asked again.
  void SetSkipping(Skip skip) { skip_ = skip; }
  const Settings& Chosen() const { return settings_; }
  void Choose(const Settings& settings) { settings_ = settings; }
  // The wait now running, in milliseconds; -1 when none.
  int Waiting() const { return timer_.isActive() ? timer_.interval() : -1; }

  // The fast-forward's pace: a page read a moment before is gone at once.
  static constexpr int kSkipPaceMs = 40;

 private:
  std::function<void()> click_;
  QTimer timer_;
  Settings settings_;
  bool autoAdvance_ = false;
  Skip skip_ = Skip::Off;
};

}  // namespace kiravel::qt
