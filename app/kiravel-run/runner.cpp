#include "app/kiravel-run/runner.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <limits>
#include <optional>

#include "app/kiravel-run/reach.h"

namespace kiravel::run {

namespace {

// Words are separated by single spaces, so an empty word marks a doubled one.
std::vector<std::string> SplitWords(std::string_view line) {
  std::vector<std::string> words;
  std::size_t start = 0;
  for (;;) {
    std::size_t space = line.find(' ', start);
    words.emplace_back(line.substr(start, space - start));
    if (space == std::string_view::npos) return words;
    start = space + 1;
  }
}

// The whole word as a decimal integer within [low, high], or nothing.
std::optional<std::int64_t> ParseInteger(std::string_view word, std::int64_t low,
                                         std::int64_t high) {
  std::int64_t value = 0;
  auto [end, error] = std::from_chars(word.data(), word.data() + word.size(), value);
  if (error != std::errc() || end != word.data() + word.size()) return std::nullopt;
  if (value < low || value > high) return std::nullopt;
  return value;
}

std::optional<double> ParseDraw(std::string_view word) {
  double value = 0;
  auto [end, error] = std::from_chars(word.data(), word.data() + word.size(), value);
  if (error != std::errc() || end != word.data() + word.size()) return std::nullopt;
  if (!(value >= 0 && value < 1)) return std::nullopt;
  return value;
}

constexpr std::int64_t kInt32Max = std::numeric_limits<std::int32_t>::max();
// A scenario waits at most about thirty years of play in one command.
constexpr std::int64_t kLongestWaitMs = 1'000'000'000'000;

}  // namespace

const Runner::CommandEntry Runner::kCommands[] = {
    {"click", &Runner::Click}, {"select", &Runner::Select}, {"type", &Runner::Type},
    {"menu", &Runner::Menu},   {"tick", &Runner::Tick},     {"wait", &Runner::Wait},
    {"rnd", &Runner::Rnd},     {"answer", &Runner::Answer}, {"resize", &Runner::Resize},
    {"close", &Runner::Close}, {"dump", &Runner::Dump},
};

Runner::Runner(Fom& fom, ScriptedPlatform& platform, Output& output)
    : fom_(fom), platform_(platform), output_(output), clock_(fom, platform), dumper_(fom) {}

void Runner::Open() {
  fom_.Form_Load();
  fom_.Form_Resize();
  fom_.Form_Activate();
  clock_.Start();
  output_.Flush();
}

bool Runner::Execute(const std::string& rawLine) {
  if (closed_) return false;
  std::string line = rawLine;
  if (!line.empty() && line.back() == '\r') line.pop_back();  // a scenario saved with CR LF
  if (line.find_first_not_of(' ') == std::string::npos || line.front() == '#') return true;
  Words words = SplitWords(line);
  std::string why = "unknown command \"" + words[0] + "\"";
  for (const CommandEntry& command : kCommands) {
    if (command.name == words[0]) why = (this->*command.run)(line, words);
  }
  if (!why.empty()) output_.Refused(line, why);
  output_.Flush();
  return !closed_;
}

std::string Runner::Click(const std::string&, const Words& words) {
  if (words.size() != 2) return "usage: click NAME";
  Control* control = fom_.FindControl(words[1]);
  if (control == nullptr) return "no control named " + words[1];
  const ClickBinding* binding = FindClick(control->Name);
  if (binding == nullptr) return control->Id() + " has no click handler";
  if (std::string why = WhyOutOfReach(*control, fom_); !why.empty()) return why;
  binding->click(fom_, control->Index);
  return "";
}

std::string Runner::Select(const std::string&, const Words& words) {
  if (words.size() != 3) return "usage: select NAME INDEX";
  auto* list = dynamic_cast<ListBox*>(fom_.FindControl(words[1]));
  if (list == nullptr) return "no list box named " + words[1];
  std::optional<std::int64_t> index = ParseInteger(words[2], -1, list->ListCount() - 1);
  if (!index) {
    return words[2] + " is not a position in " + list->Id() + " (it holds " +
           std::to_string(list->ListCount()) + " items)";
  }
  list->ListIndex = static_cast<int>(*index);
  return "";
}

std::string Runner::Type(const std::string& line, const Words& words) {
  if (words.size() < 2) return "usage: type NAME TEXT";
  auto* box = dynamic_cast<TextBox*>(fom_.FindControl(words[1]));
  if (box == nullptr) return "no text box named " + words[1];
  std::size_t textAt = words[0].size() + 1 + words[1].size() + 1;
  box->Type(textAt < line.size() ? line.substr(textAt) : "");
  return "";
}

std::string Runner::Menu(const std::string&, const Words& words) {
  if (words.size() != 2) return "usage: menu ITEM";
  if (std::string why = WhyOutOfReach(fom_.MenuCom, fom_); !why.empty()) {
    return "the menu button cannot be clicked: " + why;
  }
  auto* item = dynamic_cast<MenuItem*>(fom_.FindControl(words[1]));
  const MenuBinding* binding = item != nullptr ? FindMenuItem(item->Name) : nullptr;
  if (binding == nullptr) return "no menu item to choose named " + words[1];
  if (std::string why = WhyMenuItemDisabled(*item, fom_); !why.empty()) return why;
  // The choice goes through the popup menu as a person's click would.
  platform_.QueueMenuChoice(item);
  fom_.MenuCom_Click();
  return "";
}

std::string Runner::Tick(const std::string&, const Words& words) {
  if (words.size() != 2 && words.size() != 3) return "usage: tick TIMER [N]";
  const TimerBinding* binding = FindTimer(words[1]);
  if (binding == nullptr) return "no timer named " + words[1];
  std::optional<std::int64_t> count = words.size() == 3 ? ParseInteger(words[2], 0, kInt32Max) : 1;
  if (!count) return words[2] + " is not a number of ticks";
  const Timer& timer = fom_.*binding->timer;
  for (std::int64_t n = 0; n < *count; ++n) {
    std::string delivered =
        " (" + std::to_string(n) + " of " + std::to_string(*count) + " ticks delivered)";
    if (!timer.Enabled()) return words[1] + " is disabled" + delivered;
    if (timer.Interval() <= 0) return words[1] + " has interval 0" + delivered;
    DeliverTick(*binding);
  }
  return "";
}

std::string Runner::Wait(const std::string&, const Words& words) {
  if (words.size() != 2) return "usage: wait MS";
  std::optional<std::int64_t> ms = ParseInteger(words[1], 0, kLongestWaitMs);
  if (!ms) return words[1] + " is not a number of milliseconds";
  std::int64_t until = clock_.Now() + *ms;
  while (std::optional<TimerClock::Due> due = clock_.NextDue(until)) {
    clock_.AdvanceTo(due->at);
    DeliverTick(*due->timer);
  }
  clock_.AdvanceTo(until);
  return "";
}

std::string Runner::Rnd(const std::string&, const Words& words) {
  if (words.size() < 2) return "usage: rnd X [X ...]";
  std::vector<double> draws;
  for (std::size_t i = 1; i < words.size(); ++i) {
    std::optional<double> draw = ParseDraw(words[i]);
    if (!draw) return words[i] + " is not a number in [0, 1)";
    draws.push_back(*draw);
  }
  for (double draw : draws) platform_.QueueRnd(draw);
  return "";
}

std::string Runner::Answer(const std::string&, const Words& words) {
  if (words.size() != 2) return "usage: answer ok|yes|no";
  if (words[1] == "ok") {
    platform_.QueueAnswer(MsgBoxAnswer::OK);
  } else if (words[1] == "yes") {
    platform_.QueueAnswer(MsgBoxAnswer::Yes);
  } else if (words[1] == "no") {
    platform_.QueueAnswer(MsgBoxAnswer::No);
  } else {
    return "an answer is ok, yes or no";
  }
  return "";
}

std::string Runner::Resize(const std::string&, const Words& words) {
  if (words.size() != 2 && words.size() != 4) return "usage: resize H [SW SH]";
  std::optional<std::int64_t> height = ParseInteger(words[1], 0, kInt32Max);
  if (!height) return words[1] + " is not a height in twips";
  if (words.size() == 4) {
    std::optional<std::int64_t> width = ParseInteger(words[2], 1, kInt32Max);
    std::optional<std::int64_t> screenHeight = ParseInteger(words[3], 1, kInt32Max);
    if (!width || !screenHeight) return "the screen size is two positive numbers of twips";
    platform_.ScreenArea =
        ScreenSize{static_cast<std::int32_t>(*width), static_cast<std::int32_t>(*screenHeight)};
  }
  platform_.SetWindowHeight(static_cast<std::int32_t>(*height));
  fom_.Form_Resize();
  return "";
}

std::string Runner::Close(const std::string&, const Words& words) {
  if (words.size() != 1) return "usage: close";
  fom_.Form_Unload();
  closed_ = true;
  return "";
}

std::string Runner::Dump(const std::string&, const Words& words) {
  for (std::size_t i = 1; i < words.size(); ++i) {
    if (!dumper_.Knows(words[i])) return "no control or variable named " + words[i];
  }
  JsonWriter json;
  json.BeginObject();
  if (words.size() == 1) dumper_.WriteAll(json);
  // A name given twice is written once: JSON objects hold each key once.
  for (std::size_t i = 1; i < words.size(); ++i) {
    if (std::find(words.begin() + 1, words.begin() + i, words[i]) == words.begin() + i) {
      dumper_.Write(json, words[i]);
    }
  }
  json.EndObject();
  output_.Dump(json);
  return "";
}

void Runner::DeliverTick(const TimerBinding& timer) {
  (fom_.*timer.tick)();
  clock_.Ticked(timer);
}

}  // namespace kiravel::run
