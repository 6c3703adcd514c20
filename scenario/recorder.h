// A game played in the window, written down as a scenario as it is played:
// each event's line goes out the moment its handler returns, after the
// answers its message boxes were given, so that replaying the file queues
// every answer before the command that asks for it. A crash or a kill loses
// at most the event that was running.
#pragma once

#include <fstream>
#include <string>
#include <vector>

#include "scenario/command.h"

namespace kiravel::scenario {

class Recorder {
 public:
  // Creates or empties the file; IsOpen() says whether it could.
  explicit Recorder(const std::string& path);
  bool IsOpen() const { return file_.is_open(); }

  // The answer the player gave a message box of the event now running.
  void Answered(MsgBoxAnswer answer);
  // The event has run its handler: its answers and then its command are
  // written and flushed.
  void Played(const Command& command);
  // A remark for whoever reads or replays the file, as a comment line the
  // runner passes over.
  void Note(const std::string& remark) { Write("# " + remark); }
  // The event ended without reaching the game (a close the player took
  // back): the answers it was given go with it.
  void Dropped() { answers_.clear(); }

 private:
  void Write(const std::string& line);

  std::ofstream file_;
  std::vector<MsgBoxAnswer> answers_;
};

}  // namespace kiravel::scenario
