// The runner's stage: the scenario's commands carried out on the game with a
// simulated clock, scripted draws and scripted answers, and what happens
// printed as JSON Lines.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "core/fom.h"
#include "platform/scripted_platform.h"
#include "scenario/clock.h"
#include "scenario/opening.h"
#include "scenario/output.h"
#include "scenario/perform.h"
#include "ui/handlers.h"

namespace kiravel::run {

class Runner : private scenario::Stage, private scenario::Opening {
 public:
  Runner(Fom& fom, ScriptedPlatform& platform, Output& output);

  // What the window does when it opens; the timers start counting then.
  void Open();
  // Carries out one scenario line. Once the window is closed every further
  // command is refused.
  void Execute(const std::string& line);
  // The seed the scenario's own `seed` line gave the draws, if it has one.
  std::optional<std::uint64_t> ScenarioSeed() const { return scenarioSeed_; }

 private:
  void Click(Control& control) override;
  void Select(ListBox& list, int index) override;
  void Type(TextBox& box, const std::string& text) override;
  void Choose(MenuItem& item) override;
  void Tick(const TimerBinding& timer) override;
  void Wait(std::int64_t ms) override;
  void QueueDraws(const std::vector<double>& draws) override;
  void QueueAnswer(MsgBoxAnswer answer) override;
  void Resize(std::int32_t height, const std::optional<ScreenSize>& screen) override;
  void SetFrame(std::int32_t width, std::int32_t height) override;
  void SetPixel(double twips) override;
  void Close() override;
  void Seed(std::uint64_t seed) override;
  void PreviewScene(const std::string& name) override;
  std::string Shot(const std::string& name) override;
  void Dumped(const scenario::JsonWriter& members) override;
  void RunEvent(const std::function<void()>& event) override;
  void ShowFirst() override;
  std::vector<std::string> UntoldFailures() override;
  void Tell(const std::string& notice) override;

  Fom& fom_;
  ScriptedPlatform& platform_;
  Output& output_;
  TimerClock clock_;
  bool closed_ = false;
  std::optional<std::uint64_t> scenarioSeed_;
};

}  // namespace kiravel::run
