#include "platform/argument_bytes.h"

#include <vector>

#include "platform/regular_file.h"

namespace kiravel {

namespace {

// The program's arguments as the system keeps them, each ended by a NUL.
std::vector<std::string> RawArguments() {
  std::vector<std::string> arguments;
  const FileBytes line = ReadRegularFile("/proc/self/cmdline");
  std::size_t start = 0;
  for (std::size_t end; (end = line.Bytes.find('\0', start)) != std::string::npos; start = end + 1) {
    arguments.push_back(line.Bytes.substr(start, end - start));
  }
  return arguments;
}

}  // namespace

std::string ArgumentBytes(const QString& value) {
  for (const std::string& argument : RawArguments()) {
    if (QString::fromLocal8Bit(argument) == value) return argument;
    const std::size_t equals = argument.find('=');
    if (argument.starts_with("--") && equals != std::string::npos &&
        QString::fromLocal8Bit(argument.substr(equals + 1)) == value) {
      return argument.substr(equals + 1);
    }
  }
  return value.toStdString();
}

}  // namespace kiravel
