// The pages of story text the window has shown in this run, each with the
// scene it came from, and a marked break where a new game or a load began.
// The window records a page as the game shows it; the history never reads
// back what a widget painted.
#pragma once

#include <QString>

#include <cstddef>
#include <deque>
#include <string>

namespace kiravel::qt {

class StoryHistory {
 public:
  enum class Kind { Page, NewGame, Load };
  struct Entry {
    Kind kind = Kind::Page;
    std::string scene;  // the scene's file below the data folder; empty for a break
    std::string text;   // the page's lines, joined by "\n", without the marks
  };

  // The pages kept: older ones go first once there are more.
  static constexpr std::size_t kPagesKept = 1000;

  // What the scene shows after an event: its file and the game's page
  // buffer (the story text's caption, marks and all). A page that grows
  // stays one page; a new page, another scene or no scene at all ends the
  // page before it.
  void Follow(const std::string& scene, const std::string& caption);
  // A new game or a load begins here. A history that holds nothing yet
  // needs no break.
  void Break(Kind kind);

  // The pages ended so far, oldest first, and the page still on screen.
  const std::deque<Entry>& Ended() const { return ended_; }
  const Entry& OnScreen() const { return onScreen_; }
  // The whole history as the player reads it: each scene under its name, a
  // blank line between pages, the breaks marked.
  QString Text() const;

 private:
  void EndPage();
  void Keep(Entry entry);

  std::deque<Entry> ended_;
  std::size_t pages_ = 0;
  Entry onScreen_;
  std::string lastCaption_;
  bool pageEnded_ = false;
};

}  // namespace kiravel::qt
