#include "testing/program_run.h"

#include <sys/wait.h>

#include <cstdio>
#include <sstream>

namespace kiravel::testing {

ProgramRun RunProgram(const std::string& command) {
  ProgramRun run;
  FILE* pipe = ::popen(command.c_str(), "r");
  if (pipe == nullptr) return run;
  char chunk[4096];
  for (std::size_t n; (n = std::fread(chunk, 1, sizeof chunk, pipe)) > 0;) run.output.append(chunk, n);
  const int status = ::pclose(pipe);
  run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  std::istringstream out(run.output);
  for (std::string line; std::getline(out, line);) run.lines.push_back(line);
  return run;
}

}  // namespace kiravel::testing
