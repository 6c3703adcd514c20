#include "soak/runner_process.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <stdexcept>

namespace kiravel::soak {

namespace {

// A pipe whose ends are not inherited past exec, except where dup2 puts them.
void OpenPipe(int ends[2]) {
  if (::pipe2(ends, O_CLOEXEC) != 0) throw std::runtime_error("cannot open a pipe");
}

[[noreturn]] void ExecRunner(const std::string& program, const std::vector<std::string>& arguments,
                             int input, int output) {
  ::dup2(input, STDIN_FILENO);
  ::dup2(output, STDOUT_FILENO);
  std::vector<char*> argv;
  argv.push_back(const_cast<char*>(program.c_str()));
  for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
  argv.push_back(nullptr);
  ::execv(program.c_str(), argv.data());
  ::_exit(127);
}

}  // namespace

RunnerProcess::RunnerProcess(const std::string& program, const std::vector<std::string>& arguments) {
  // A runner that stops reading must not kill the soak that writes to it.
  ::signal(SIGPIPE, SIG_IGN);
  int toRunner[2];
  int fromRunner[2];
  OpenPipe(toRunner);
  OpenPipe(fromRunner);
  pid_ = ::fork();
  if (pid_ < 0) throw std::runtime_error("cannot start " + program);
  if (pid_ == 0) ExecRunner(program, arguments, toRunner[0], fromRunner[1]);
  ::close(toRunner[0]);
  ::close(fromRunner[1]);
  commands_ = ::fdopen(toRunner[1], "w");
  output_ = ::fdopen(fromRunner[0], "r");
  if (commands_ == nullptr || output_ == nullptr) throw std::runtime_error("cannot read the pipes");
}

RunnerProcess::~RunnerProcess() {
  if (commands_ != nullptr) std::fclose(commands_);
  if (output_ != nullptr) std::fclose(output_);
  if (pid_ > 0) {
    ::kill(pid_, SIGKILL);
    ::waitpid(pid_, nullptr, 0);
  }
}

bool RunnerProcess::Send(const std::string& line) {
  if (commands_ == nullptr) return false;
  return std::fwrite(line.data(), 1, line.size(), commands_) == line.size() &&
         std::fputc('\n', commands_) != EOF && std::fflush(commands_) == 0;
}

std::optional<std::string> RunnerProcess::ReadLine() {
  char* buffer = nullptr;
  std::size_t capacity = 0;
  const ssize_t length = ::getline(&buffer, &capacity, output_);
  std::optional<std::string> line;
  if (length >= 0) {
    line.emplace(buffer, static_cast<std::size_t>(length));
    if (!line->empty() && line->back() == '\n') line->pop_back();
  }
  std::free(buffer);
  return line;
}

int RunnerProcess::Finish(std::vector<std::string>& rest) {
  std::fclose(commands_);
  commands_ = nullptr;
  while (std::optional<std::string> line = ReadLine()) rest.push_back(*line);
  int status = 0;
  ::waitpid(pid_, &status, 0);
  pid_ = -1;
  return status;
}

}  // namespace kiravel::soak
