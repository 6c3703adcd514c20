#include "check/data_check.h"

#include <algorithm>
#include <filesystem>
#include <map>
#include <optional>
#include <string_view>
#include <utility>
#include <vector>

#include "check/description_check.h"
#include "check/media_check.h"
#include "check/raw_text.h"
#include "check/script_check.h"
#include "check/story_lines.h"
#include "events/fixed_files.h"
#include "events/script_format.h"
#include "platform/data_folder.h"

namespace kiravel::check {

namespace {

// By file name in the text folder; nothing for a file that could not be read.
using Texts = std::map<std::string, std::optional<std::vector<std::string>>>;

// Every data file name directly in the text folder but folders (the save
// folder is the game's own); what cannot be read is a finding of its own.
Texts ReadTexts(const std::string& folder, Findings& findings) {
  Texts texts;
  std::error_code error;
  std::filesystem::directory_iterator entry(folder + kTextFolder, error);
  for (; !error && entry != std::filesystem::directory_iterator(); entry.increment(error)) {
    const std::string name = entry->path().filename().string();
    std::error_code kind;
    if (!HasDataEnding(name) || entry->is_directory(kind)) continue;
    texts.emplace(name, ReadDataText(folder, TextFolderPath() + name, findings));
  }
  // Without the text folder at all, every text the game needs is reported
  // missing.
  if (error && error != std::errc::no_such_file_or_directory) {
    findings.Error(kTextFolder, 0, "cannot be read through (" + error.message() + ")");
  }
  return texts;
}

void CheckFixedFiles(const std::string& folder, const Texts& texts, PictureShelf& pictures,
                     Findings& findings) {
  for (const FixedFile& file : FixedTexts()) {
    if (texts.count(DataFileName(file.Name)) == 0) {
      findings.Error(TextFile(file.Name), 0, "missing: " + file.Role);
    }
  }
  for (const FixedFile& file : FixedPictures()) {
    const std::string& problem = pictures.Problem(file.Name);
    if (!problem.empty()) findings.Error(PictureFile(file.Name), 0, problem + ": " + file.Role);
  }
  const std::string wave = WaveProblem(folder + kMusicFile);
  if (!wave.empty()) findings.Error(kMusicFile, 0, wave + ": the game would play no music");
}

SceneKind KindOf(const std::string& name) {
  if (name == kOpeningScene) return SceneKind::Opening;
  if (name == kClosingScene) return SceneKind::ClosingScene;
  if (EndsTheGame(name)) return SceneKind::GameEnding;
  return SceneKind::Story;
}

void CheckScripts(const Texts& texts, ScriptContext& context) {
  StoryScenes story;
  for (const auto& [name, read] : texts) {
    if (!read) continue;
    const std::vector<std::string>& lines = *read;
    const std::string stem = name.substr(0, name.size() - std::string_view(kDataEnding).size());
    int line = 0, count = 0;
    const bool isStory = ParseStoryName(name, line, count, context.findings);
    const SceneKind kind = KindOf(stem);
    if (!isStory && kind == SceneKind::Story) continue;  // rumours, page pieces
    ScriptFacts facts = CheckScript(TextFolderPath() + name, lines, kind, context);
    if (isStory) story[line][count] = StoryScene{facts.bonusPageLine};
  }
  CheckStoryLines(story, context.findings);
}

// The page is written in Shift_JIS; a browser told nothing may guess wrong.
void CheckPageHead(const Texts& texts, Findings& findings) {
  auto head = texts.find(DataFileName(kPageHead));
  if (head == texts.end() || !head->second) return;
  for (const std::string& line : *head->second) {
    // Only the ASCII letters are lowered: under a Turkish locale, "I" would
    // not become "i" and the page's own declaration would be missed.
    std::string lower = line;
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; });
    if (lower.find("shift_jis") != std::string::npos) return;
  }
  findings.Warning(TextFile(kPageHead), 0, "declares no charset Shift_JIS: browsers may show the page garbled");
}

}  // namespace

Findings CheckDataFolder(const std::string& folder) {
  Findings findings;
  PictureShelf pictures(folder);
  const Texts texts = ReadTexts(folder, findings);
  CheckFixedFiles(folder, texts, pictures, findings);
  ScriptContext context{folder, pictures, findings};
  CheckScripts(texts, context);
  CheckPageHead(texts, findings);
  auto described = texts.find(DataFileName(kPictureDescriptions));
  if (described != texts.end() && described->second) {
    CheckPictureDescriptions(folder, *described->second, findings);
  }
  return findings;
}

}  // namespace kiravel::check
