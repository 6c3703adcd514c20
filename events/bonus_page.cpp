// The bonus page a story line's ending writes beside the program: its head,
// the character text with the courier's name filled in, the story line's
// pictures and its foot, for the player to open in a browser after the game.
#include <filesystem>
#include <optional>
#include <string>
#include <system_error>
#include <vector>

#include "core/fom.h"
#include "events/folder_names.h"
#include "events/script_format.h"
#include "platform/cp932.h"
#include "platform/game_folders.h"

namespace kiravel {

namespace {

constexpr std::string_view kPageEnding = "＿おまけ.html";

// The courier's name as page text: markup characters escaped, and characters
// the page's code page cannot hold written as character references.
std::string HtmlText(const std::string& name) {
  std::string out;
  for (char32_t c : Utf8ToCodePoints(name)) {
    switch (c) {
      case U'&': out += "&amp;"; continue;
      case U'<': out += "&lt;"; continue;
      case U'>': out += "&gt;"; continue;
      case U'"': out += "&quot;"; continue;
      case U'\'': out += "&#39;"; continue;
      default: break;
    }
    if (Cp932CanEncode(c)) {
      out += CodePointsToUtf8(std::u32string(1, c));
    } else {
      out += "&#" + CStr(static_cast<std::int64_t>(c)) + ";";
    }
  }
  return out;
}

// The story line's eleven pictures, one below the other, as one output line.
std::string PictureBlock(const std::string& key) {
  std::string block = "<BR>";
  for (const std::string& picture : BonusPictures(key)) {
    block += "\r\n<img src=./img/" + picture + ".dat width=700><BR>";
  }
  return block;
}

// The page's file: directly in the folder, its name the prefix and the page
// ending. Nothing when the prefix could make it anything else.
std::optional<std::string> PagePath(const std::string& folder, const std::string& prefix) {
  if (prefix.empty() || !IsSafeNamePart(prefix)) return std::nullopt;
  const std::string name = prefix + std::string(kPageEnding);
  const std::filesystem::path page = std::filesystem::path(folder) / name;
  if (page.filename() != name || page.parent_path() != std::filesystem::path(folder).parent_path()) {
    return std::nullopt;
  }
  return page.string();
}

}  // namespace

void Fom::WriteBonusPage(const std::string& argument, const std::string& where) {
  std::optional<BonusPageRequest> request = ReadBonusPageRequest(argument);
  if (!request) {
    platform_.ReportFailure(where + "おまけページの名前がありません（「" + argument +
                            "」）。ページは書きません。");
    return;
  }
  const std::string& key = request->Key;
  const std::string& prefix = request->PageName;
  const std::optional<std::string> output = PagePath(WritePath, prefix);
  if (!output || !IsSafeNamePart(key)) {
    platform_.ReportFailure(where + "おまけページ「" + argument +
                            "」の名前はファイルの名前に使えません。ページは書きません。");
    return;
  }
  const std::string name = HtmlText(TxtName.Text);
  std::vector<std::string> page;
  CopyPagePiece(kPageHead, nullptr, where, page);
  CopyPagePiece(CharacterPiece(key), &name, where, page);
  page.push_back(PictureBlock(key));
  CopyPagePiece(kPageFoot, nullptr, where, page);
  if (WritePath != AppPath) PreparePageFolder(where);
  TextWriteResult written = WriteTextFile(*output, page);
  if (written.Error != TextWriteError::None) {
    platform_.ReportFailure(where + "おまけページ「" + Relative(*output) + "」を書けません（" +
                            (written.Reason.empty() ? "シフトJISで書けない文字があります"
                                                    : written.Reason) +
                            "）。");
  }
}

// A page kept in the player's own folder finds its pictures through a link
// named "img" beside it, as a page beside the game finds the game's own.
void Fom::PreparePageFolder(const std::string& where) {
  std::error_code error;
  std::filesystem::create_directories(WritePath, error);
  std::string reason = error ? error.message() : LinkPictureFolder(WritePath, DataDir[0]);
  if (reason.empty()) return;
  platform_.ReportFailure(where + "おまけページの絵を「" + WritePath + "img」から見られるようにできません（" +
                          reason + "）。");
}

// A missing piece leaves a gap in the page rather than no page at all.
void Fom::CopyPagePiece(const std::string& piece, const std::string* name,
                        const std::string& where, std::vector<std::string>& page) {
  const std::string path = DataDir[1] + piece + ".dat";
  TextFileContent content = ReadTextFile(path, true);
  if (content.Error != TextFileError::None) {
    std::string problem = content.Error == TextFileError::Missing ? "がありません"
                          : content.BadLine > 0 ? " " + CStr(content.BadLine) + "行目を読めません"
                                                : "を読めません";
    platform_.ReportFailure(where + "おまけページの部品「" + Relative(path) + "」" + problem +
                            "。その部分なしでページを書きます。");
    return;
  }
  for (const std::string& text : content.Lines) {
    page.push_back(name != nullptr ? Replace(text, kNameMark, *name) : text);
  }
}

}  // namespace kiravel
