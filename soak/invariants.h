// What must hold of the game after every command, whatever the player did:
// read from the runner's dump of every control and variable.
#pragma once

#include <string>
#include <vector>

#include <nlohmann/json.hpp>

namespace kiravel::soak {

// Why the runner's output line is not one the runner may print, or "".
std::string OutputLineProblem(const std::string& line, nlohmann::json& parsed);

// Every broken rule of the game's state in this dump (the object under
// "dump"); empty when all hold.
std::vector<std::string> StateProblems(const nlohmann::json& dump);

}  // namespace kiravel::soak
