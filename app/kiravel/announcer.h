// What a screen reader is told as the game goes on, worked out from the
// game's state after each event: the story text as it is spoken, and one
// short piece of news in the game's own words for everything else that
// changed (the message line, money and status, the monster and each blow,
// the end of a battle, a scene's start and end, a message box).
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "core/fom.h"

namespace kiravel::qt {

// The story page as it is read: without the marks after its last line, and
// with the page's end said in words where the player clicks to turn it.
std::string SpokenPage(const Fom& fom);
// Whether a scene is being shown: the story text is up and the start panel
// does not cover it.
bool ScenePlaying(const Fom& fom);
// The words said for the page's end.
inline constexpr char kPageEndWords[] = "（ページの終わり）";

class Announcer {
 public:
  // What changed since the last look, as one line; "" when nothing did. The
  // first look after Forget only notes how things stand.
  std::string News(const Fom& fom);
  // A message box is opening with this text.
  static std::string BoxNews(const std::string& text);
  void Forget() { seen_.reset(); }

 private:
  struct Seen {
    bool startPanel = false;
    bool scene = false;
    bool battle = false;
    std::string message;
    std::int32_t money = 0;
    PerStatus<std::int16_t> status{};
    std::int16_t monsterHp = 0;
    std::string flute;
    std::string blows;
    int jobs = 0;
  };
  static Seen Look(const Fom& fom);
  std::optional<Seen> seen_;
};

}  // namespace kiravel::qt
