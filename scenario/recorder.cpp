#include "scenario/recorder.h"

namespace kiravel::scenario {

Recorder::Recorder(const std::string& path) : file_(path, std::ios::out | std::ios::trunc) {}

void Recorder::Answered(MsgBoxAnswer answer) { answers_.push_back(answer); }

void Recorder::Played(const Command& command) {
  for (MsgBoxAnswer answer : answers_) Write(Format(Answer{answer}));
  answers_.clear();
  std::string line = Format(command);
  // The battle's message area takes line breaks, which no scenario line
  // can hold: the file says what is missing instead of replaying it wrong.
  if (line.empty()) line = "# not replayable: text with line breaks typed into " + std::get<Type>(command).box;
  Write(line);
}

void Recorder::Write(const std::string& line) {
  file_ << line << '\n';
  file_.flush();
}

}  // namespace kiravel::scenario
