// A program started through the shell, as the tests start the game's
// programs: what it wrote to the pipe, in lines, and how it ended.
#pragma once

#include <string>
#include <vector>

namespace kiravel::testing {

struct ProgramRun {
  int status = -1;  // the exit status; -1 when it did not exit by itself
  std::string output;
  std::vector<std::string> lines;
};

// Runs the shell command and reads its standard output to the end.
ProgramRun RunProgram(const std::string& command);

}  // namespace kiravel::testing
