// The scenario language the runner reads and the window plays and records:
// one command a line, words separated by single spaces, "#" starting a
// comment. A line is read once into a command value; what it names is looked
// up on the game when the command is carried out.
#pragma once

#include <cstdint>
#include <istream>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "core/fom.h"
#include "ui/handlers.h"

namespace kiravel::scenario {

struct Click {
  std::string control;
};
struct Select {
  std::string list;
  // The position as written, for the refusal of one the list does not hold.
  std::string written;
  std::optional<std::int64_t> index;  // none when the word is not a whole number
};
struct Type {
  std::string box;
  std::string text;
};
struct Menu {
  std::string item;
};
struct Tick {
  const TimerBinding* timer;
  std::int64_t count = 1;
};
struct Wait {
  std::int64_t ms;
};
struct Rnd {
  std::vector<double> draws;
};
struct Answer {
  MsgBoxAnswer answer;
};
struct Resize {
  std::int32_t height;
  std::optional<ScreenSize> screen;
};
// The window's frame: how much wider and taller the window is than the
// area the game lays out in, in twips. A recording says what the real
// window's is, so the runner lays the game out in the same area.
struct Frame {
  std::int32_t width;
  std::int32_t height;
};
// The size of the screen's pixel in twips. The real window's size and place
// fall on whole pixels, and pictures are measured in them; a recording says
// so, and the runner's window then does the same.
struct Pixel {
  double twips;
};
struct Close {};
struct Dump {
  std::vector<std::string> names;  // empty: everything
};
// Seeds the random draws: a recorded game starts from the window's seed.
struct Seed {
  std::uint64_t seed;
};
// Saves what the window shows as NAME.png; only a screen can.
struct Shot {
  std::string name;
};

// An author's preview: a fresh easy game that plays the scene file NAME at
// once, as kiravel --scene NAME opens.
struct Scene {
  std::string name;
};

using Command =
    std::variant<Click, Select, Type, Menu, Tick, Wait, Rnd, Answer, Resize, Frame, Pixel, Close,
                 Dump, Seed, Shot, Scene>;

// One line of a scenario, read.
struct Line {
  std::string text;  // as written, without a closing CR
  std::optional<Command> command;  // none for a blank line, a comment or a refusal
  std::string refusal;  // why the line is not a command it can carry out
};

Line ParseLine(std::string_view written);

// The longest scenario line read: far more than any command needs, while a
// file without line ends (or an endless one) is not taken in whole.
inline constexpr std::size_t kLongestLine = 1 << 20;
// The most ticks one `tick` command delivers: a handler's tick costs up to a
// few microseconds, so a count a line can hold never ties the runner up.
inline constexpr std::int64_t kMostTicks = 1'000'000;

enum class LineRead { Line, End, TooLong };

// Reads the next line without its line end. A line longer than kLongestLine
// is TooLong, and *line then holds its first kLongestLine bytes.
LineRead ReadScenarioLine(std::istream& in, std::string* line);

// The command as a scenario line, which ParseLine reads back to it. A text
// typed with a line break has no line: it comes back empty.
std::string Format(const Command& command);

const char* AnswerWord(MsgBoxAnswer answer);

}  // namespace kiravel::scenario
