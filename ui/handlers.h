// Which procedure of the game answers which control, as the window binds
// them: the clicks, the timers and the popup menu's items. The game window
// and the headless runner both deliver their events through these tables.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

#include "core/fom.h"

namespace kiravel {

// A click on a control (the index of an array item; -1 for a single control).
using ClickProc = void (*)(Fom& fom, std::int16_t index);

struct ClickBinding {
  std::string_view control;  // the control's name, without an index
  ClickProc click;
};

struct TimerBinding {
  std::string_view name;
  Timer Fom::*timer;
  void (Fom::*tick)();
  // The music timer: its ticks act only once the music device says the piece
  // has stopped, so a front end may run it when the device reports the end
  // instead of at every interval.
  bool followsMusic = false;
};

struct MenuBinding {
  std::string_view item;  // the item's name, without an index
  ClickProc choose;
};

// The start panel covers the whole window while it is shown: what lies
// outside it cannot be pressed, not even from the keyboard.
bool CoveredByStartPanel(const Fom& fom, const Control& control);

// Null when the control has no click handler at all.
const ClickBinding* FindClick(std::string_view control);
// Null when the item is not one the player can choose (a submenu, or no item).
const MenuBinding* FindMenuItem(std::string_view item);
// Null for a name that is not one of the window's timers.
const TimerBinding* FindTimer(std::string_view name);
// Every timer of the window, in the order the window delivers ticks that fall
// due at the same moment.
std::span<const TimerBinding> Timers();

}  // namespace kiravel
