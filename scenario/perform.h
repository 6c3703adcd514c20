// What a scenario command means, for every front end alike: what it acts on,
// when it is refused and why. The front end (the runner's simulated window,
// or the real one) is the stage that carries out the action itself.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/fom.h"
#include "scenario/command.h"
#include "scenario/dump.h"
#include "scenario/json.h"
#include "ui/handlers.h"

namespace kiravel::scenario {

class Stage {
 public:
  virtual ~Stage() = default;
  // The control is within the player's reach and has the handler.
  virtual void Click(Control& control) = 0;
  virtual void Select(ListBox& list, int index) = 0;
  virtual void Type(TextBox& box, const std::string& text) = 0;
  // The item is one the player can choose from the popup menu.
  virtual void Choose(MenuItem& item) = 0;
  // The timer is enabled with an interval.
  virtual void Tick(const TimerBinding& timer) = 0;
  virtual void Wait(std::int64_t ms) = 0;
  virtual void QueueDraws(const std::vector<double>& draws) = 0;
  virtual void QueueAnswer(MsgBoxAnswer answer) = 0;
  virtual void Resize(std::int32_t height, const std::optional<ScreenSize>& screen) = 0;
  virtual void SetFrame(std::int32_t width, std::int32_t height) = 0;
  virtual void SetPixel(double twips) = 0;
  virtual void Close() = 0;
  virtual void Seed(std::uint64_t seed) = 0;
  // A fresh easy game that plays the scene at once.
  virtual void PreviewScene(const std::string& name) = 0;
  // Why the stage cannot take the picture, or "" once it has.
  virtual std::string Shot(const std::string& name) = 0;
  // {"dump": ...}: the writer holds the open object of the members.
  virtual void Dumped(const JsonWriter& members) = 0;
};

// Carries out the command on the stage; returns why it was refused, or ""
// when it was carried out.
std::string Perform(const Command& command, Fom& fom, Stage& stage);

// The line the front ends print for a dump and for a refused command.
std::string DumpLine(const JsonWriter& members);
std::string RefusedLine(std::string_view command, std::string_view why);

}  // namespace kiravel::scenario
