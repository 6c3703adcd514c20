#include "check/script_check.h"

#include <filesystem>
#include <optional>
#include <string_view>
#include <utility>

#include "core/conversions.h"
#include "platform/data_folder.h"
#include "events/script_format.h"

namespace kiravel::check {

namespace {

bool IsCount(std::string_view text) {
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  if (text.empty()) return false;
  for (char c : text) {
    if (c < '0' || c > '9') return false;
  }
  return true;
}

class ScriptChecker {
 public:
  ScriptChecker(const std::string& file, SceneKind kind, ScriptContext& context)
      : file_(file), kind_(kind), context_(context) {}

  ScriptFacts Run(const std::vector<std::string>& lines) {
    for (std::size_t i = 0; i < lines.size(); ++i) Line(static_cast<int>(i) + 1, lines[i]);
    ReportUnplayed();
    ReportHowItEnds(static_cast<int>(lines.size()));
    return facts_;
  }

 private:
  void Line(int number, const std::string& line) {
    if (endedAt_ != 0) {
      if (!line.empty() && firstUnplayed_ == 0) firstUnplayed_ = number;
      unplayed_ += line.empty() ? 0 : 1;
      return;
    }
    const ScriptCommand command = CommandOf(line);
    switch (command) {
      case ScriptCommand::SceneEnd:
      case ScriptCommand::StoryEnd:
        return End(number, command);
      case ScriptCommand::BonusPage:
        BonusPage(number, CommandArgument(command, line));
        return End(number, command);
      case ScriptCommand::Steps:
        return Steps(number, CommandArgument(command, line));
      case ScriptCommand::Picture:
        return Picture(number, CommandArgument(command, line));
      case ScriptCommand::NewPage:
        return;
      case ScriptCommand::Text:
        if (IsPauseMark(line)) {
          Warn(number, "\">ive\" is no command: the scene stops in front of it and then shows it as text");
        }
        return;
    }
  }

  void End(int number, ScriptCommand how) {
    endedAt_ = number;
    endedBy_ = how;
  }

  void Steps(int number, const std::string& count) {
    if (IsCount(count)) return;
    Error(number, "\"--\" needs a number of steps, not \"" + count + "\"");
  }

  void Picture(int number, const std::string& name) {
    if (name.empty()) return;  // the title picture
    if (!IsSafeNamePart(name)) {
      return Error(number, "picture name \"" + name + "\" is no safe file name");
    }
    const std::string& problem = context_.pictures.Problem(name);
    if (!problem.empty()) Error(number, "picture " + PictureFile(name) + ": " + problem);
  }

  void BonusPage(int number, const std::string& argument) {
    facts_.bonusPageLine = number;
    if (kind_ == SceneKind::ClosingScene) {
      Error(number, "\">html\" in the closing scene would start it over and over");
    }
    std::optional<BonusPageRequest> request = ReadBonusPageRequest(argument);
    if (!request) {
      return Error(number, "\">html\" needs two items, a story key and a page name: \"" +
                               argument + "\"");
    }
    if (!IsSafeNamePart(request->PageName) || request->PageName.empty()) {
      Error(number, "bonus page name \"" + request->PageName + "\" is no safe file name");
    }
    BonusPieces(number, request->Key);
  }

  void BonusPieces(int number, const std::string& key) {
    if (!IsSafeNamePart(key) || key.empty()) {
      return Error(number, "story key \"" + key + "\" is no safe file name");
    }
    const std::string character = TextFile(CharacterPiece(key));
    if (!FileExists(character)) Error(number, "bonus page text " + character + ": missing");
    for (const std::string& name : BonusPictures(key)) {
      const std::string& problem = context_.pictures.Problem(name);
      if (!problem.empty()) Error(number, "bonus picture " + PictureFile(name) + ": " + problem);
    }
  }

  void ReportUnplayed() {
    if (firstUnplayed_ == 0) return;
    std::string more = unplayed_ > 1 ? " (and " + std::to_string(unplayed_ - 1) + " more lines)" : "";
    Error(firstUnplayed_, "never played: the scene has ended at line " + std::to_string(endedAt_) +
                              " with \"" + std::string(KeywordOf(*endedBy_)) + "\"" + more);
  }

  void ReportHowItEnds(int lineCount) {
    const bool endsGame = kind_ == SceneKind::GameEnding || kind_ == SceneKind::ClosingScene;
    // After "tugi", or at the end of the file, the courier is back in town.
    if (endsGame && (!endedBy_ || *endedBy_ == ScriptCommand::SceneEnd)) {
      Error(endedAt_ != 0 ? endedAt_ : lineCount,
            "this scene ends the game, but it returns to the town: end it with \">end\"");
    }
    if (lineCount == 0) Warn(0, "empty scene: it returns to the town at once");
  }

  bool FileExists(const std::string& relative) const {
    std::error_code error;
    return std::filesystem::is_regular_file(context_.folder + relative, error);
  }
  void Error(int line, const std::string& message) { context_.findings.Error(file_, line, message); }
  void Warn(int line, const std::string& message) { context_.findings.Warning(file_, line, message); }

  const std::string& file_;
  SceneKind kind_;
  ScriptContext& context_;
  ScriptFacts facts_;
  int endedAt_ = 0;
  std::optional<ScriptCommand> endedBy_;
  int firstUnplayed_ = 0;
  int unplayed_ = 0;
};

}  // namespace

ScriptFacts CheckScript(const std::string& relative, const std::vector<std::string>& lines,
                        SceneKind kind, ScriptContext& context) {
  return ScriptChecker(relative, kind, context).Run(lines);
}

}  // namespace kiravel::check
