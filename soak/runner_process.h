// One kiravel-run playing a scenario fed line by line through a pipe, its
// output read back line by line.
#pragma once

#include <sys/types.h>

#include <cstdio>
#include <optional>
#include <string>
#include <vector>

namespace kiravel::soak {

class RunnerProcess {
 public:
  // Starts the runner with these arguments; its standard error is the soak's.
  RunnerProcess(const std::string& program, const std::vector<std::string>& arguments);
  ~RunnerProcess();
  RunnerProcess(const RunnerProcess&) = delete;
  RunnerProcess& operator=(const RunnerProcess&) = delete;

  // Sends one scenario line. False when the runner no longer reads.
  bool Send(const std::string& line);
  // The next output line without its line end; null at the end of output.
  std::optional<std::string> ReadLine();
  // Ends the scenario, reads what is left of the output into `rest` and
  // returns the runner's wait status.
  int Finish(std::vector<std::string>& rest);

 private:
  pid_t pid_ = -1;
  std::FILE* commands_ = nullptr;
  std::FILE* output_ = nullptr;
};

}  // namespace kiravel::soak
