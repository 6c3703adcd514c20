#include "scenario/perform.h"

#include <algorithm>

#include "scenario/reach.h"

namespace kiravel::scenario {

namespace {

class Performer {
 public:
  Performer(Fom& fom, Stage& stage) : fom_(fom), stage_(stage) {}

  std::string operator()(const Click& c) {
    Control* control = fom_.FindControl(c.control);
    if (control == nullptr) return "no control named " + c.control;
    if (std::string why = WhyNotClickable(*control, fom_); !why.empty()) return why;
    stage_.Click(*control);
    return "";
  }

  std::string operator()(const Select& c) {
    auto* list = dynamic_cast<ListBox*>(fom_.FindControl(c.list));
    if (list == nullptr) return "no list box named " + c.list;
    if (!c.index || *c.index < -1 || *c.index >= list->ListCount()) {
      return c.written + " is not a position in " + list->Id() + " (it holds " +
             std::to_string(list->ListCount()) + " items)";
    }
    stage_.Select(*list, static_cast<int>(*c.index));
    return "";
  }

  std::string operator()(const Type& c) {
    auto* box = dynamic_cast<TextBox*>(fom_.FindControl(c.box));
    if (box == nullptr) return "no text box named " + c.box;
    stage_.Type(*box, c.text);
    return "";
  }

  std::string operator()(const Menu& c) {
    if (std::string why = WhyMenuClosed(fom_); !why.empty()) return why;
    auto* item = dynamic_cast<MenuItem*>(fom_.FindControl(c.item));
    if (item == nullptr || FindMenuItem(item->Name) == nullptr) {
      return "no menu item to choose named " + c.item;
    }
    if (std::string why = WhyMenuItemDisabled(*item, fom_); !why.empty()) return why;
    stage_.Choose(*item);
    return "";
  }

  std::string operator()(const Tick& c) {
    const Timer& timer = fom_.*c.timer->timer;
    const std::string name(c.timer->name);
    for (std::int64_t n = 0; n < c.count; ++n) {
      std::string delivered =
          " (" + std::to_string(n) + " of " + std::to_string(c.count) + " ticks delivered)";
      if (!timer.Runs()) return name + (timer.Enabled() ? " has interval 0" : " is disabled") + delivered;
      stage_.Tick(*c.timer);
    }
    return "";
  }

  std::string operator()(const Dump& c) {
    Dumper dumper(fom_);
    for (const std::string& name : c.names) {
      if (!dumper.Knows(name)) return "no control or variable named " + name;
    }
    JsonWriter json;
    json.BeginObject();
    if (c.names.empty()) dumper.WriteAll(json);
    // A name given twice is written once: JSON objects hold each key once.
    for (auto name = c.names.begin(); name != c.names.end(); ++name) {
      if (std::find(c.names.begin(), name, *name) == name) dumper.Write(json, *name);
    }
    json.EndObject();
    stage_.Dumped(json);
    return "";
  }

  std::string operator()(const Wait& c) { return Done([&] { stage_.Wait(c.ms); }); }
  std::string operator()(const Rnd& c) { return Done([&] { stage_.QueueDraws(c.draws); }); }
  std::string operator()(const Answer& c) { return Done([&] { stage_.QueueAnswer(c.answer); }); }
  std::string operator()(const Resize& c) {
    return Done([&] { stage_.Resize(c.height, c.screen); });
  }
  std::string operator()(const Frame& c) {
    return Done([&] { stage_.SetFrame(c.width, c.height); });
  }
  std::string operator()(const Pixel& c) { return Done([&] { stage_.SetPixel(c.twips); }); }
  std::string operator()(const Close&) { return Done([&] { stage_.Close(); }); }
  std::string operator()(const Seed& c) { return Done([&] { stage_.Seed(c.seed); }); }
  std::string operator()(const Shot& c) { return stage_.Shot(c.name); }
  std::string operator()(const Scene& c) { return Done([&] { stage_.PreviewScene(c.name); }); }

 private:
  // A command that cannot be refused once it is read.
  template <class F>
  static std::string Done(F&& act) {
    act();
    return "";
  }

  Fom& fom_;
  Stage& stage_;
};

}  // namespace

std::string Perform(const Command& command, Fom& fom, Stage& stage) {
  return std::visit(Performer(fom, stage), command);
}

std::string DumpLine(const JsonWriter& members) { return "{\"dump\":" + members.Text() + "}"; }

std::string RefusedLine(std::string_view command, std::string_view why) {
  JsonWriter json;
  json.BeginObject().Key("refused").String(command).Key("why").String(why).EndObject();
  return json.Text();
}

}  // namespace kiravel::scenario
