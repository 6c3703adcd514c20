#include "soak/moves.h"

#include <cstddef>
#include <string_view>
#include <vector>

#include "platform/data_folder.h"
#include "scenario/reach.h"
#include "ui/handlers.h"

namespace kiravel::soak {

namespace {

using nlohmann::json;

std::size_t Below(std::mt19937_64& random, std::size_t n) {
  return std::uniform_int_distribution<std::size_t>(0, n - 1)(random);
}

template <class T>
const T& OneOf(const std::vector<T>& items, std::mt19937_64& random) {
  return items[Below(random, items.size())];
}

// Names of the controls a person could use now, by kind.
struct Reach {
  std::vector<std::string> clicks, lists, boxes, menuItems, timers, all;
};

Reach ReachOf(const json& dump, ShownWindow& window) {
  Reach reach;
  Fom& fom = window.As(dump);
  const bool menuOpens = scenario::WhyMenuClosed(fom).empty();
  for (const auto& [name, shown] : dump.items()) {
    if (!shown.is_object()) continue;
    reach.all.push_back(name);
    if (FindTimer(name) != nullptr) {
      if (TimerRuns(shown.value("Enabled", false), shown.value("Interval", 0))) {
        reach.timers.push_back(name);
      }
      continue;
    }
    const Control* control = fom.FindControl(name);
    if (control == nullptr) continue;
    if (const auto* item = dynamic_cast<const MenuItem*>(control)) {
      if (menuOpens && FindMenuItem(item->Name) != nullptr &&
          scenario::WhyMenuItemDisabled(*item, fom).empty()) {
        reach.menuItems.push_back(name);
      }
      continue;
    }
    if (scenario::WhyNotClickable(*control, fom).empty()) reach.clicks.push_back(name);
    if (!scenario::WhyOutOfReach(*control, fom).empty()) continue;
    if (shown.contains("List")) reach.lists.push_back(name);
    if (shown.contains("Text")) reach.boxes.push_back(name);
  }
  return reach;
}

std::string Select(const json& dump, const std::string& list, std::mt19937_64& random) {
  const long count = static_cast<long>(dump.at(list).at("List").size());
  // Now and then an index out of the list, which the runner must refuse.
  const long index = Below(random, 10) == 0
                         ? std::uniform_int_distribution<long>(-3, count + 3)(random)
                         : std::uniform_int_distribution<long>(-1, count - 1)(random);
  return "select " + list + " " + std::to_string(index);
}

std::string Draws(std::mt19937_64& random) {
  // The edges of the chances the game tests, and anything in between.
  static const std::vector<std::string> kEdges = {"0", "0.3", "0.31", "0.5", "0.7", "0.99", "0.9999999"};
  std::string line = "rnd";
  for (std::size_t n = 1 + Below(random, 4); n > 0; --n) {
    line += " " + (Below(random, 2) == 0 ? OneOf(kEdges, random)
                                        : std::to_string(std::uniform_real_distribution<>(0, 1)(random)));
  }
  return line;
}

std::string Resize(std::mt19937_64& random) {
  const long height = std::uniform_int_distribution<long>(0, 20000)(random);
  if (Below(random, 2) == 0) return "resize " + std::to_string(height);
  const long width = std::uniform_int_distribution<long>(0, 30000)(random);
  return "resize " + std::to_string(height) + " " + std::to_string(width) + " " +
         std::to_string(std::uniform_int_distribution<long>(0, 30000)(random));
}

std::string TimeStep(const Reach& reach, std::mt19937_64& random) {
  if (!reach.timers.empty() && Below(random, 2) == 0) {
    const std::string& timer = OneOf(reach.timers, random);
    if (timer != "BgmTim") return "tick " + timer + " " + std::to_string(1 + Below(random, 20));
  }
  return "wait " + std::to_string(1 + Below(random, 3000));
}

// A command aimed anywhere, even at what is hidden or no control at all.
std::string Stray(const Reach& reach, std::mt19937_64& random) {
  static const std::vector<std::string> kVerbs = {"click", "select", "type", "menu", "tick", "dump"};
  const std::string target = reach.all.empty() ? "Nothing" : OneOf(reach.all, random);
  switch (Below(random, 4)) {
    case 0: return OneOf(kVerbs, random) + " " + target + " " + std::to_string(Below(random, 9));
    case 1: return "click " + target;
    case 2: return OneOf(kVerbs, random) + " " + TypedText(random);
    default: return TypedText(random);
  }
}

}  // namespace

std::string ChooseCommand(const json& dump, ShownWindow& window, std::mt19937_64& random) {
  const Reach reach = ReachOf(dump, window);
  const std::size_t roll = Below(random, 100);
  if (roll < 45 && !reach.clicks.empty()) return "click " + OneOf(reach.clicks, random);
  if (roll < 55 && !reach.lists.empty()) return Select(dump, OneOf(reach.lists, random), random);
  if (roll < 67) return TimeStep(reach, random);
  if (roll < 73 && !reach.boxes.empty()) return "type " + OneOf(reach.boxes, random) + " " + TypedText(random);
  if (roll < 78 && !reach.menuItems.empty()) return "menu " + OneOf(reach.menuItems, random);
  if (roll < 86) return Draws(random);
  if (roll < 92) return "answer " + OneOf(std::vector<std::string>{"ok", "yes", "no"}, random);
  if (roll < 95) return Resize(random);
  return Stray(reach, random);
}

std::string TypedText(std::mt19937_64& random) {
  // Pieces of every kind: plain and wide letters, kana and kanji, half-width
  // kana, the name mark, the save's field separator, control
  // characters (tab, NUL, C1), characters CP932 cannot hold, emoji beyond
  // the basic plane, combining marks, and bytes that are not UTF-8 at all.
  static const std::vector<std::string> kPieces = {
      "a",  "Z9", "ミンヤ", "漢字", "ｶﾅ", kNameMark, ",", " ", "　", "\t", std::string(1, '\0'),
      "\x01", "\x7f", "\xc2\x85", "€", "한", "😀", "e\xcc\x81", "\xef\xbf\xbd", "\xff",
      "\xe3\x81", "\xc0\xaf", "\\", "\"", "%s", "ｰ", "〜", "①", "髙"};
  std::string text;
  const std::size_t pieces = Below(random, 8) == 0 ? Below(random, 400) : Below(random, 12);
  for (std::size_t n = 0; n < pieces; ++n) text += OneOf(kPieces, random);
  return text;
}

}  // namespace kiravel::soak
