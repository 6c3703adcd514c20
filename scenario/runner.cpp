#include "scenario/runner.h"

namespace kiravel::run {

Runner::Runner(Fom& fom, ScriptedPlatform& platform, Output& output)
    : fom_(fom), platform_(platform), output_(output), clock_(fom, platform) {}

void Runner::Open() {
  scenario::OpenWindow(fom_, *this);
  clock_.Start();
  output_.Flush();
}

void Runner::Execute(const std::string& written) {
  scenario::Line line = scenario::ParseLine(written);
  std::string why = line.refusal;
  if (closed_ && (line.command || !why.empty())) {
    why = "the window is closed";
  } else if (line.command) {
    why = scenario::Perform(*line.command, fom_, *this);
  }
  if (!why.empty()) output_.Refused(line.text, why);
  output_.Flush();
}

void Runner::Click(Control& control) { FindClick(control.Name)->click(fom_, control.Index); }

void Runner::Select(ListBox& list, int index) { list.ListIndex = index; }

void Runner::Type(TextBox& box, const std::string& text) { box.Type(text); }

// The choice goes through the popup menu as a person's click would.
void Runner::Choose(MenuItem& item) {
  platform_.QueueMenuChoice(&item);
  fom_.MenuCom_Click();
}

// One tick of the timer; the clock counts its next one from now. (Every
// timer a handler switches tells the clock itself.)
void Runner::Tick(const TimerBinding& timer) {
  (fom_.*timer.tick)();
  clock_.Ticked(timer);
}

void Runner::Wait(std::int64_t ms) {
  std::int64_t until = clock_.Now() + ms;
  while (std::optional<TimerClock::Due> due = clock_.NextDue(until)) {
    clock_.AdvanceTo(due->at);
    Tick(*due->timer);
  }
  clock_.AdvanceTo(until);
}

void Runner::QueueDraws(const std::vector<double>& draws) {
  for (double draw : draws) platform_.QueueRnd(draw);
}

void Runner::QueueAnswer(MsgBoxAnswer answer) { platform_.QueueAnswer(answer); }

void Runner::Resize(std::int32_t height, const std::optional<ScreenSize>& screen) {
  if (screen) platform_.ScreenArea = *screen;
  platform_.SetWindowHeight(height);
  fom_.Form_Resize();
}

void Runner::SetFrame(std::int32_t width, std::int32_t height) {
  platform_.SetWindowFrame(width, height);
}

void Runner::SetPixel(double twips) { platform_.SetPixel(twips); }

void Runner::Close() {
  fom_.Form_Unload();
  closed_ = true;
}

void Runner::Seed(std::uint64_t seed) {
  platform_.SeedDraws(seed);
  scenarioSeed_ = seed;
}

void Runner::PreviewScene(const std::string& name) { fom_.PreviewScene(name); }

std::string Runner::Shot(const std::string&) { return "the runner has no screen to take a shot of"; }

void Runner::Dumped(const scenario::JsonWriter& members) { output_.Dump(members); }

void Runner::RunEvent(const std::function<void()>& event) { event(); }

// The window's first size is the one the platform starts with.
void Runner::ShowFirst() { fom_.Form_Resize(); }

// Each failure was printed, with its box, as the game met it.
std::vector<std::string> Runner::UntoldFailures() { return {}; }

void Runner::Tell(const std::string& notice) { platform_.ReportFailure(notice); }

}  // namespace kiravel::run
