#include "events/script_format.h"

#include <cstdint>

#include "core/conversions.h"

namespace kiravel {

namespace {

struct Keyword {
  std::string_view text;
  ScriptCommand command;
  // The character the argument starts at, counted from 1; 0 for none.
  std::int64_t argumentFrom;
};

// ">img" and ">html" take one separator character before their argument.
constexpr Keyword kKeywords[] = {
    {"tugi", ScriptCommand::SceneEnd, 0},  {"--", ScriptCommand::Steps, 3},
    {">end", ScriptCommand::StoryEnd, 0},  {">html", ScriptCommand::BonusPage, 7},
    {">p", ScriptCommand::NewPage, 0},     {">img", ScriptCommand::Picture, 6},
};

}  // namespace

ScriptCommand CommandOf(std::string_view line) {
  for (const Keyword& keyword : kKeywords) {
    if (line.starts_with(keyword.text)) return keyword.command;
  }
  return ScriptCommand::Text;
}

std::string_view KeywordOf(ScriptCommand command) {
  for (const Keyword& keyword : kKeywords) {
    if (keyword.command == command) return keyword.text;
  }
  return {};
}

std::vector<std::string_view> CommandKeywords() {
  std::vector<std::string_view> keywords;
  for (const Keyword& keyword : kKeywords) keywords.push_back(keyword.text);
  return keywords;
}

std::string CommandArgument(ScriptCommand command, std::string_view line) {
  for (const Keyword& keyword : kKeywords) {
    if (keyword.command != command) continue;
    return keyword.argumentFrom == 0 ? std::string() : Mid(line, keyword.argumentFrom);
  }
  return std::string();
}

// Only a line that is exactly ">p" is seen ahead; a longer one still turns
// the page when it is reached.
bool WaitsForClick(std::string_view next) {
  return next == KeywordOf(ScriptCommand::NewPage) ||
         next.starts_with(KeywordOf(ScriptCommand::StoryEnd)) || IsPauseMark(next) ||
         next.starts_with(KeywordOf(ScriptCommand::SceneEnd));
}

bool EndsPage(std::string_view next) {
  return next.starts_with(KeywordOf(ScriptCommand::BonusPage)) || WaitsForClick(next);
}

bool IsPauseMark(std::string_view line) { return line.starts_with(kPauseMark); }

bool EndsTheGame(std::string_view scene) {
  return scene == kYearRunOutScene || scene == kStaminaRunOutScene || scene == kClosingScene;
}

bool IsSceneName(std::string_view name) {
  return !name.empty() && name != "." && name != ".." && name.find('/') == std::string_view::npos &&
         !HasDataEnding(name);
}

std::optional<BonusPageRequest> ReadBonusPageRequest(std::string_view argument) {
  std::vector<std::string> items = Split(argument, ',');
  if (items.size() < 2) return std::nullopt;  // a third item and more are ignored
  return BonusPageRequest{items[0], items[1]};
}

}  // namespace kiravel
