// What a random player does next, chosen from what the window shows: a
// scenario line for kiravel-run.
#pragma once

#include <random>
#include <string>

#include <nlohmann/json.hpp>

#include "soak/shown_window.h"

namespace kiravel::soak {

// The next command, given the dump (the object under "dump") of every
// control and variable as the last command left them, and the window to
// show it on.
std::string ChooseCommand(const nlohmann::json& dump, ShownWindow& window, std::mt19937_64& random);

// Text of every kind a person or a paste could put into a text box.
std::string TypedText(std::mt19937_64& random);

}  // namespace kiravel::soak
