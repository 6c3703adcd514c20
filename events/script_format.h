// The language of the story scripts: what each line is, where the player
// stops for a click, where a page ends, which scenes end the game and what a
// bonus page shows. The scene player and kiravel-check both read scripts
// through these, so the checker's verdict is what the player will do.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/data_folder.h"

namespace kiravel {

enum class ScriptCommand { SceneEnd, Steps, StoryEnd, BonusPage, NewPage, Picture, Text };

// The keywords are tried in a fixed order and the first a line begins with
// wins ("tugi..." ends the scene whatever follows); any other line is text.
ScriptCommand CommandOf(std::string_view line);

// The keyword a command line begins with; empty for text.
std::string_view KeywordOf(ScriptCommand command);
// Every command's keyword, in the order a line is tried against them.
std::vector<std::string_view> CommandKeywords();

// What the command line carries: the count of "--", the picture of ">img",
// the bonus page of ">html"; empty for the other lines.
std::string CommandArgument(ScriptCommand command, std::string_view line);

// The typing timer never runs onto these lines: the scene waits for a click.
bool WaitsForClick(std::string_view next);
// The page ends in front of these, so the last words stay on screen until
// the player has read them.
bool EndsPage(std::string_view next);
// ">ive" is no command of its own: the scene stops in front of it, and a
// click shows it as text.
inline constexpr char kPauseMark[] = ">ive";
bool IsPauseMark(std::string_view line);
// After these scenes there is no town to return to: the game is over.
bool EndsTheGame(std::string_view scene);
// A scene is named by its file in the text folder without its ending: a
// name an author may give on the command line names no file anywhere else.
bool IsSceneName(std::string_view name);

// The argument of ">html": the story line's key, then the name the page is
// written under. Null when the second item is missing.
struct BonusPageRequest {
  std::string Key;
  std::string PageName;
};
std::optional<BonusPageRequest> ReadBonusPageRequest(std::string_view argument);

}  // namespace kiravel
