// The bonus page a story line's ending writes beside the program: its head,
// the character text with the courier's name filled in, the story line's
// pictures and its foot, for the player to open in a browser after the game.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "core/fom.h"
#include "events/script_format.h"
#include "platform/cp932.h"
#include "platform/data_folder.h"
#include "platform/open_folder.h"
#include "platform/regular_file.h"
#include "platform/game_folders.h"
#include "platform/utf8.h"

namespace kiravel {

namespace {


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
    block += "\r\n<img src=./" + PictureFile(picture) + " width=700><BR>";
  }
  return block;
}

// The page's file name: the prefix and the page ending. Nothing when the
// prefix could make it anything but a file directly in the folder.
std::optional<std::string> PageName(const std::string& prefix) {
  if (prefix.empty() || !IsSafeNamePart(prefix)) return std::nullopt;
  return prefix + std::string(kPageEnding);
}

// The picture folder beside a page in the player's own folder. A link of that
// name is what earlier versions of the game put there; it led to an install
// that may be gone, so it makes way for a folder of the page's own.
int OpenPictureFolder(int pageFolder) {
  struct stat entry {};
  if (::fstatat(pageFolder, kPictureFolder, &entry, AT_SYMLINK_NOFOLLOW) == 0 &&
      S_ISLNK(entry.st_mode)) {
    ::unlinkat(pageFolder, kPictureFolder, 0);
  }
  if (::mkdirat(pageFolder, kPictureFolder, 0755) != 0 && errno != EEXIST) return -1;
  return ::openat(pageFolder, kPictureFolder, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
}

// Whether the folder already holds these very bytes under the name.
bool Holds(int folder, const std::string& name, const std::string& bytes) {
  FileBytes held = ReadRegularFileAt(folder, name);
  return held.Error == FileReadError::None && held.Bytes == bytes;
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
  const std::optional<std::string> pageName = PageName(request->PageName);
  if (!pageName || !IsSafeNamePart(key)) {
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
  const bool ownFolder = WritePath != AppPath;
  const FolderPlace place = WritablePlace(WritePath, !ownFolder);
  const std::string shown = Relative(place.Path() + *pageName);
  auto unwritable = [&](const std::string& reason) {
    platform_.ReportFailure(where + "おまけページ「" + shown + "」を書けません（" + reason + "）。");
  };
  FolderOpening folder = OpenFolderPlace(place, ownFolder);
  if (folder.Error != FolderError::None) {
    unwritable(folder.Error == FolderError::Link ? "「" + folder.Where + "」はフォルダではなくリンクです"
                                                 : folder.Reason);
    return;
  }
  RemoveStaleStandIns(folder.Folder.Fd(), kStaleStandIn);
  if (ownFolder) CopyPagePictures(folder.Folder.Fd(), key, where);
  TextWriteResult written = WriteTextFileAt(folder.Folder.Fd(), *pageName, page);
  if (written.Error != TextWriteError::None) {
    unwritable(written.Reason.empty() ? "シフトJISで書けない文字があります" : written.Reason);
  }
}

// A page kept in the player's own folder keeps copies of its pictures in a
// picture folder beside it, as a page beside the game finds the game's own:
// it still shows them after the game is removed.
void Fom::CopyPagePictures(int pageFolder, const std::string& key, const std::string& where) {
  const int pictures = OpenPictureFolder(pageFolder);
  std::string reason = pictures < 0 ? std::strerror(errno) : "";
  if (pictures >= 0) {
    for (const std::string& picture : BonusPictures(key)) {
      const std::string name = DataFileName(picture);
      FileBytes file = ReadRegularFile(DataDir[0] + name);
      // A picture the data lacks is missing from the page, as it is from the game.
      if (file.Error != FileReadError::None || Holds(pictures, name, file.Bytes)) continue;
      reason = ReplaceFileAt(pictures, name, file.Bytes, false);
      if (!reason.empty()) break;
    }
    ::close(pictures);
  }
  if (reason.empty()) return;
  platform_.ReportFailure(where + "おまけページの絵を「" + WritePath + kPictureFolder +
                          "」に写せません（" + reason + "）。");
}

// A missing piece leaves a gap in the page rather than no page at all.
void Fom::CopyPagePiece(const std::string& piece, const std::string* name,
                        const std::string& where, std::vector<std::string>& page) {
  const std::string path = DataDir[1] + DataFileName(piece);
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
