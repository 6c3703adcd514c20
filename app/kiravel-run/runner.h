// The scenario commands: each line a player's action, a step of the clock,
// a scripted answer or a look at the window.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "app/kiravel-run/clock.h"
#include "app/kiravel-run/dump.h"
#include "app/kiravel-run/output.h"
#include "core/fom.h"
#include "platform/scripted_platform.h"
#include "ui/handlers.h"

namespace kiravel::run {

class Runner {
 public:
  Runner(Fom& fom, ScriptedPlatform& platform, Output& output);

  // What the window does when it opens: Form_Load, the first Form_Resize and
  // Form_Activate; the timers start counting then.
  void Open();
  // Carries out one scenario line. False once the scenario has ended
  // (`close`); the lines after it are not read.
  bool Execute(const std::string& line);

 private:
  using Words = std::vector<std::string>;
  // Each command returns why it was refused, or "" when it was carried out.
  using Command = std::string (Runner::*)(const std::string& line, const Words& words);
  struct CommandEntry {
    std::string_view name;
    Command run;
  };
  static const CommandEntry kCommands[];

  std::string Click(const std::string& line, const Words& words);
  std::string Select(const std::string& line, const Words& words);
  std::string Type(const std::string& line, const Words& words);
  std::string Menu(const std::string& line, const Words& words);
  std::string Tick(const std::string& line, const Words& words);
  std::string Wait(const std::string& line, const Words& words);
  std::string Rnd(const std::string& line, const Words& words);
  std::string Answer(const std::string& line, const Words& words);
  std::string Resize(const std::string& line, const Words& words);
  std::string Close(const std::string& line, const Words& words);
  std::string Dump(const std::string& line, const Words& words);

  // One tick of the timer; the clock counts its next one from now. (Every
  // timer a handler switches tells the clock itself.)
  void DeliverTick(const TimerBinding& timer);

  Fom& fom_;
  ScriptedPlatform& platform_;
  Output& output_;
  TimerClock clock_;
  Dumper dumper_;
  bool closed_ = false;
};

}  // namespace kiravel::run
