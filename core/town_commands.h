// The town's five commands, by their index in `Com`: what each one starts is
// the game's (core/commands.cpp), and the window keeps its focus by them.
#pragma once

#include <cstdint>

namespace kiravel {

enum TownCommand : std::int16_t { kEvent, kForest, kRumours, kTavern, kTravel };

}  // namespace kiravel
