// For the soak's tests: the window as the runner dumps it after a few
// commands on the game's own data.
#pragma once

#include <initializer_list>
#include <stdexcept>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "soak/runner_process.h"

namespace kiravel::soak {

inline nlohmann::json DumpAfter(std::initializer_list<const char*> commands) {
  RunnerProcess runner(KIRAVEL_RUN_PATH, {"--app", KIRAVEL_GAME_DIR, "--seed", "7"});
  for (const char* line : commands) runner.Send(line);
  runner.Send("dump");
  std::vector<std::string> lines;
  runner.Finish(lines);
  for (const std::string& line : lines) {
    nlohmann::json parsed = nlohmann::json::parse(line);
    if (parsed.contains("dump")) return parsed["dump"];
  }
  throw std::runtime_error("the runner printed no dump");
}

}  // namespace kiravel::soak
