// The runner's output: JSON Lines on standard output, one object per line, in
// the order things happen.
#pragma once

#include <cstdint>
#include <ostream>
#include <string>
#include <string_view>

#include "core/fom.h"
#include "platform/scripted_platform.h"
#include "scenario/json.h"

namespace kiravel::run {

using scenario::JsonWriter;

class Output {
 public:
  explicit Output(std::ostream& out) : out_(out) {}

  // Prints what the game tells the player or asks of the machine: message
  // boxes, failures, music commands and pictures.
  void Listen(ScriptedPlatform& platform, Fom& fom);

  void Refused(std::string_view command, std::string_view why);
  // {"dump": members}; the writer holds the open object of the members.
  void Dump(const JsonWriter& members);
  void Flush() { out_.flush(); }

 private:
  void MessageBox(const ScriptedPlatform::MessageBox& box);
  void Failure(const std::string& text);
  void Mci(const std::string& command, std::int32_t result);
  void Picture(const PictureBox& panel, const std::string& file, bool ok);
  void Line(const JsonWriter& object);

  std::ostream& out_;
};

}  // namespace kiravel::run
