#include "scenario/command.h"

#include <array>
#include <charconv>
#include <limits>

#include "events/script_format.h"
#include "platform/data_folder.h"

namespace kiravel::scenario {

namespace {

using Words = std::vector<std::string>;
// A command read from its words, or why the words are not one.
using Reading = std::variant<Command, std::string>;

// Words are separated by single spaces, so an empty word marks a doubled one.
Words SplitWords(std::string_view line) {
  Words words;
  std::size_t start = 0;
  for (;;) {
    std::size_t space = line.find(' ', start);
    words.emplace_back(line.substr(start, space - start));
    if (space == std::string_view::npos) return words;
    start = space + 1;
  }
}

// The whole word as a number of type T, or nothing.
template <class T>
std::optional<T> ParseWhole(std::string_view word) {
  T value{};
  auto [end, error] = std::from_chars(word.data(), word.data() + word.size(), value);
  if (error != std::errc() || end != word.data() + word.size()) return std::nullopt;
  return value;
}

// The whole word as a decimal integer within [low, high], or nothing.
std::optional<std::int64_t> ParseInteger(std::string_view word, std::int64_t low,
                                         std::int64_t high) {
  std::optional<std::int64_t> value = ParseWhole<std::int64_t>(word);
  if (!value || *value < low || *value > high) return std::nullopt;
  return value;
}

constexpr std::int64_t kInt32Max = std::numeric_limits<std::int32_t>::max();
// A scenario waits at most about thirty years of play in one command.
constexpr std::int64_t kLongestWaitMs = 1'000'000'000'000;
// A pixel of a screen of one dot per inch.
constexpr double kLargestPixel = 1440;

Reading ReadClick(std::string_view, const Words& words) {
  if (words.size() != 2) return "usage: click NAME";
  return Click{words[1]};
}

Reading ReadSelect(std::string_view, const Words& words) {
  if (words.size() != 3) return "usage: select NAME INDEX";
  return Select{words[1], words[2], ParseWhole<std::int64_t>(words[2])};
}

Reading ReadType(std::string_view line, const Words& words) {
  if (words.size() < 2) return "usage: type NAME TEXT";
  std::size_t textAt = words[0].size() + 1 + words[1].size() + 1;
  return Type{words[1], textAt < line.size() ? std::string(line.substr(textAt)) : ""};
}

Reading ReadMenu(std::string_view, const Words& words) {
  if (words.size() != 2) return "usage: menu ITEM";
  return Menu{words[1]};
}

Reading ReadTick(std::string_view, const Words& words) {
  if (words.size() != 2 && words.size() != 3) return "usage: tick TIMER [N]";
  const TimerBinding* timer = FindTimer(words[1]);
  if (timer == nullptr) return "no timer named " + words[1];
  std::optional<std::int64_t> count = words.size() == 3 ? ParseInteger(words[2], 0, kInt32Max) : 1;
  if (!count) return words[2] + " is not a number of ticks";
  if (*count > kMostTicks) return "at most " + std::to_string(kMostTicks) + " ticks at once";
  return Tick{timer, *count};
}

Reading ReadWait(std::string_view, const Words& words) {
  if (words.size() != 2) return "usage: wait MS";
  std::optional<std::int64_t> ms = ParseInteger(words[1], 0, kLongestWaitMs);
  if (!ms) return words[1] + " is not a number of milliseconds";
  return Wait{*ms};
}

Reading ReadRnd(std::string_view, const Words& words) {
  if (words.size() < 2) return "usage: rnd X [X ...]";
  Rnd rnd;
  for (std::size_t i = 1; i < words.size(); ++i) {
    std::optional<double> draw = ParseWhole<double>(words[i]);
    if (!draw || !(*draw >= 0 && *draw < 1)) return words[i] + " is not a number in [0, 1)";
    rnd.draws.push_back(*draw);
  }
  return rnd;
}

Reading ReadAnswer(std::string_view, const Words& words) {
  if (words.size() != 2) return "usage: answer ok|yes|no";
  for (MsgBoxAnswer answer : {MsgBoxAnswer::OK, MsgBoxAnswer::Yes, MsgBoxAnswer::No}) {
    if (words[1] == AnswerWord(answer)) return Answer{answer};
  }
  return "an answer is ok, yes or no";
}

Reading ReadResize(std::string_view, const Words& words) {
  if (words.size() != 2 && words.size() != 4) return "usage: resize H [SW SH]";
  std::optional<std::int64_t> height = ParseInteger(words[1], 0, kInt32Max);
  if (!height) return words[1] + " is not a height in twips";
  Resize resize{static_cast<std::int32_t>(*height), std::nullopt};
  if (words.size() == 4) {
    std::optional<std::int64_t> width = ParseInteger(words[2], 1, kInt32Max);
    std::optional<std::int64_t> screenHeight = ParseInteger(words[3], 1, kInt32Max);
    if (!width || !screenHeight) return "the screen size is two positive numbers of twips";
    resize.screen =
        ScreenSize{static_cast<std::int32_t>(*width), static_cast<std::int32_t>(*screenHeight)};
  }
  return resize;
}

Reading ReadFrame(std::string_view, const Words& words) {
  if (words.size() != 3) return "usage: frame FW FH";
  std::optional<std::int64_t> width = ParseInteger(words[1], 0, kInt32Max);
  std::optional<std::int64_t> height = ParseInteger(words[2], 0, kInt32Max);
  if (!width || !height) return "the frame is two numbers of twips, 0 or more";
  return Frame{static_cast<std::int32_t>(*width), static_cast<std::int32_t>(*height)};
}

Reading ReadPixel(std::string_view, const Words& words) {
  if (words.size() != 2) return "usage: pixel TWIPS";
  std::optional<double> twips = ParseWhole<double>(words[1]);
  if (!twips || !(*twips > 0 && *twips <= kLargestPixel)) {
    return words[1] + " is not the size of a pixel in twips";
  }
  return Pixel{*twips};
}

Reading ReadClose(std::string_view, const Words& words) {
  if (words.size() != 1) return "usage: close";
  return Close{};
}

Reading ReadDump(std::string_view, const Words& words) {
  return Dump{Words(words.begin() + 1, words.end())};
}

Reading ReadSeed(std::string_view, const Words& words) {
  if (words.size() != 2) return "usage: seed N";
  std::optional<std::uint64_t> seed = ParseWhole<std::uint64_t>(words[1]);
  if (!seed) return words[1] + " is not a seed";
  return Seed{*seed};
}

Reading ReadShot(std::string_view, const Words& words) {
  if (words.size() != 2) return "usage: shot NAME";
  return Shot{words[1]};
}

Reading ReadScene(std::string_view, const Words& words) {
  if (words.size() != 2) return "usage: scene NAME";
  if (!IsSceneName(words[1])) {
    return words[1] + " is not a scene's file in " + TextFolderPath() + " without " + kDataEnding;
  }
  return Scene{words[1]};
}

struct Reader {
  std::string_view name;
  Reading (*read)(std::string_view line, const Words& words);
};

constexpr std::array<Reader, 16> kReaders{{
    {"click", ReadClick},   {"select", ReadSelect}, {"type", ReadType},   {"menu", ReadMenu},
    {"tick", ReadTick},     {"wait", ReadWait},     {"rnd", ReadRnd},     {"answer", ReadAnswer},
    {"resize", ReadResize}, {"close", ReadClose},   {"dump", ReadDump},   {"seed", ReadSeed},
    {"shot", ReadShot},     {"frame", ReadFrame},   {"pixel", ReadPixel},  {"scene", ReadScene},
}};

std::string Joined(std::string_view command, const std::vector<std::string>& words) {
  std::string line(command);
  for (const std::string& word : words) line += " " + word;
  return line;
}

// The shortest decimal that reads back as the same number.
std::string NumberText(double draw) {
  std::array<char, 32> text{};
  auto [end, error] = std::to_chars(text.data(), text.data() + text.size(), draw);
  return std::string(text.data(), end);
}

struct Formatter {
  std::string operator()(const Click& c) const { return "click " + c.control; }
  std::string operator()(const Select& c) const {
    return "select " + c.list + " " + std::to_string(c.index.value_or(-1));
  }
  std::string operator()(const Type& c) const {
    if (c.text.find_first_of("\r\n") != std::string::npos) return "";
    return "type " + c.box + " " + c.text;
  }
  std::string operator()(const Menu& c) const { return "menu " + c.item; }
  std::string operator()(const Tick& c) const {
    std::string line = "tick " + std::string(c.timer->name);
    return c.count == 1 ? line : line + " " + std::to_string(c.count);
  }
  std::string operator()(const Wait& c) const { return "wait " + std::to_string(c.ms); }
  std::string operator()(const Rnd& c) const {
    std::vector<std::string> words;
    for (double draw : c.draws) words.push_back(NumberText(draw));
    return Joined("rnd", words);
  }
  std::string operator()(const Answer& c) const {
    return std::string("answer ") + AnswerWord(c.answer);
  }
  std::string operator()(const Resize& c) const {
    std::string line = "resize " + std::to_string(c.height);
    if (!c.screen) return line;
    return line + " " + std::to_string(c.screen->Width) + " " + std::to_string(c.screen->Height);
  }
  std::string operator()(const Frame& c) const {
    return "frame " + std::to_string(c.width) + " " + std::to_string(c.height);
  }
  std::string operator()(const Pixel& c) const { return "pixel " + NumberText(c.twips); }
  std::string operator()(const Close&) const { return "close"; }
  std::string operator()(const Dump& c) const { return Joined("dump", c.names); }
  std::string operator()(const Seed& c) const { return "seed " + std::to_string(c.seed); }
  std::string operator()(const Shot& c) const { return "shot " + c.name; }
  std::string operator()(const Scene& c) const { return "scene " + c.name; }
};

}  // namespace

Line ParseLine(std::string_view written) {
  if (!written.empty() && written.back() == '\r') written.remove_suffix(1);  // saved with CR LF
  Line line{std::string(written), std::nullopt, ""};
  if (written.find_first_not_of(' ') == std::string_view::npos || written.front() == '#') {
    return line;
  }
  Words words = SplitWords(written);
  line.refusal = "unknown command \"" + words[0] + "\"";
  for (const Reader& reader : kReaders) {
    if (reader.name != words[0]) continue;
    Reading reading = reader.read(written, words);
    if (auto* command = std::get_if<Command>(&reading)) {
      line.command = std::move(*command);
      line.refusal.clear();
    } else {
      line.refusal = std::get<std::string>(reading);
    }
  }
  return line;
}

LineRead ReadScenarioLine(std::istream& in, std::string* line) {
  line->clear();
  std::streambuf* source = in.rdbuf();
  for (;;) {
    const int c = source->sbumpc();
    if (c == std::char_traits<char>::eof()) {
      in.setstate(std::ios::eofbit);
      return line->empty() ? LineRead::End : LineRead::Line;
    }
    if (c == '\n') return LineRead::Line;
    if (line->size() == kLongestLine) return LineRead::TooLong;
    line->push_back(static_cast<char>(c));
  }
}

std::string Format(const Command& command) { return std::visit(Formatter{}, command); }

const char* AnswerWord(MsgBoxAnswer answer) {
  switch (answer) {
    case MsgBoxAnswer::Yes:
      return "yes";
    case MsgBoxAnswer::No:
      return "no";
    case MsgBoxAnswer::OK:
      break;
  }
  return "ok";
}

}  // namespace kiravel::scenario
