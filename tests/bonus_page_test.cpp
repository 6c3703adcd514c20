#include <gtest/gtest.h>

#include <unistd.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "platform/cp932.h"
#include "platform/data_folder.h"
#include "testing/game_fixture.h"

namespace kiravel {
namespace {

using Lines = std::vector<std::string>;

std::string PageBytes(const Lines& lines) {
  std::string text;
  for (const std::string& line : lines) text += line + "\r\n";
  return *Utf8ToCp932(text);
}

Lines Pictures(const std::string& key) {
  Lines lines{"<BR>"};
  for (const char* k : {"0", "1", "2", "3", "4", "5", "6", "7", "8", "9_1", "9_2"}) {
    lines.push_back("<img src=./" + PictureFolderPath() + key + k + std::string(kDataEnding) + " width=700><BR>");
  }
  return lines;
}

struct BonusGame : testing::Game {
  BonusGame() {
    data.WriteScript("head", {"<html>", "<body>"});
    data.WriteScript("char1", {"-mへ", "<p>a-m-m</p>"});
    data.WriteScript("foot", {"</body>", "</html>"});
  }
  std::string Page(const std::string& prefix) { return data.Read(prefix + kPageEnding); }
  // Every file of the program folder but its own two folders.
  Lines WrittenFiles() {
    Lines names;
    for (const auto& entry : std::filesystem::directory_iterator(data.Path())) {
      const std::string name = entry.path().filename().string();
      if (name != kPictureFolder && name != kTextFolder) names.push_back(name);
    }
    return names;
  }
};

TEST(BonusPage, HeadCharacterPicturesAndFootInCp932) {
  BonusGame game;
  game.fom->WriteBonusPage("1,x,ignored");
  Lines expected{"<html>", "<body>", "ミンヤへ", "<p>aミンヤミンヤ</p>"};
  for (const std::string& line : Pictures("1")) expected.push_back(line);
  expected.insert(expected.end(), {"</body>", "</html>"});
  EXPECT_EQ(game.Page("x"), PageBytes(expected));
  EXPECT_EQ(game.WrittenFiles(), Lines{std::string("x") + kPageEnding});
  EXPECT_TRUE(game.platform.Failures.empty());
}

// The name is page text: markup in it must not become markup, and what the
// page's code page cannot hold is written as a character reference.
TEST(BonusPage, CourierNameIsEscapedWhereItIsFilledIn) {
  BonusGame game;
  game.fom->TxtName.Text = "<b>&\"'😀";
  game.fom->WriteBonusPage("1,x");
  const std::string page = game.Page("x");
  EXPECT_NE(page.find(*Utf8ToCp932("\r\n&lt;b&gt;&amp;&quot;&#39;&#128512;へ\r\n")),
            std::string::npos);
  EXPECT_EQ(page.find("<b>"), std::string::npos);
  EXPECT_NE(page.find("\r\n<p>a&lt;b&gt;"), std::string::npos) << "the text's own markup stays";
}

TEST(BonusPage, MissingPiecesAreLeftOutAndNamed) {
  BonusGame game;
  std::filesystem::remove(game.data.Path() + TextFile("head"));
  game.data.WriteBytes(TextFile("foot"), "ok\r\n\x82\r\n");
  game.fom->WriteBonusPage("1,x", TextFile("end1") + " 9行目：");
  Lines expected{"ミンヤへ", "<p>aミンヤミンヤ</p>"};
  for (const std::string& line : Pictures("1")) expected.push_back(line);
  EXPECT_EQ(game.Page("x"), PageBytes(expected));
  EXPECT_EQ(game.platform.Failures,
            (Lines{TextFile("end1") + " 9行目：おまけページの部品「" + TextFile("head") + "」がありません。"
                   "その部分なしでページを書きます。",
                   TextFile("end1") + " 9行目：おまけページの部品「" + TextFile("foot") + "」 2行目を読めません。"
                   "その部分なしでページを書きます。"}));
}

// The page goes into the program's folder and nowhere else.
TEST(BonusPage, PrefixOutsideTheProgramFolderOrMissingWritesNoPage) {
  for (const char* argument : {"1", "1,", "1,../x", "1,a/b", "1,a\\b", "../1,x", "1,.."}) {
    SCOPED_TRACE(argument);
    BonusGame game;
    game.fom->WriteBonusPage(argument, TextFile("s") + " 2行目：");
    EXPECT_TRUE(game.WrittenFiles().empty());
    ASSERT_EQ(game.platform.Failures.size(), 1u);
    EXPECT_TRUE(game.platform.Failures[0].starts_with(TextFile("s") + " 2行目：おまけページ"));
  }
  EXPECT_FALSE(std::filesystem::exists(std::filesystem::temp_directory_path() / (std::string("x") + kPageEnding)));
}

// A NUL would end the name early for the system: the page would be written
// over any file of the program folder, the program itself included. Such a
// name, or one with any control character, is refused with its line.
TEST(BonusPage, NulOrControlCharacterInANameWritesNothing) {
  const std::string nul("\0", 1);
  for (const std::string& argument : std::vector<std::string>{
           "0,kiravel-run" + nul, "0,kiravel-run" + nul + "x", "0,kiravel-run\x01", "0,a\x7f",
        "0" + nul + ",kiravel-run", "0\t,x", "0,a:b"}) {
    SCOPED_TRACE(::testing::PrintToString(argument));
    BonusGame game;
    game.data.WriteBytes("kiravel-run", "the program");
    game.data.WriteBytes(TextFile("s"), "一\r\n>html " + argument + "\r\n");
    game.data.WriteScript("end", {"おわり"});
    game.fom->PicStt.Visible = false;
    game.fom->StartEvent("s");
    game.fom->Lbl_Click();
    EXPECT_EQ(game.data.Read("kiravel-run"), "the program");
    EXPECT_EQ(game.WrittenFiles(), Lines{"kiravel-run"});
    ASSERT_EQ(game.platform.Failures.size(), 1u);
    EXPECT_TRUE(game.platform.Failures[0].starts_with(TextFile("s") + " 2行目：おまけページ「"))
        << game.platform.Failures[0];
  }
}

// A link planted under the page's name is replaced by the page, never
// written through: its target lies outside the program folder.
TEST(BonusPage, LinkUnderThePageNameIsReplacedNotWrittenThrough) {
  BonusGame game;
  testing::DataFolder elsewhere;
  elsewhere.WriteBytes("target", "keep");
  std::filesystem::create_symlink(elsewhere.Path() + "target", game.data.Path() + std::string("x") + kPageEnding);
  game.fom->WriteBonusPage("1,x");
  EXPECT_EQ(elsewhere.Read("target"), "keep");
  EXPECT_FALSE(std::filesystem::is_symlink(game.data.Path() + std::string("x") + kPageEnding));
  EXPECT_NE(game.Page("x").find("<img src=./" + PictureFile("10")), std::string::npos);
  EXPECT_EQ(game.WrittenFiles(), Lines{std::string("x") + kPageEnding});
  EXPECT_TRUE(game.platform.Failures.empty());
}

TEST(BonusPage, UnwritablePageIsReported) {
  BonusGame game;
  std::filesystem::create_directories(game.data.Path() + std::string("x") + kPageEnding + "/inside");
  game.fom->WriteBonusPage("1,x");
  ASSERT_EQ(game.platform.Failures.size(), 1u);
  EXPECT_TRUE(game.platform.Failures[0].starts_with(std::string("おまけページ「x") + kPageEnding + "」を書けません（"))
      << game.platform.Failures[0];
}

// The story's ">html" line writes the page, names itself in messages, and the
// closing scene starts whether or not a page could be written.
TEST(BonusPage, ScriptLineWritesThePageThenStartsTheClosingScene) {
  for (const char* line : {">html 1,x", ">html 1"}) {
    SCOPED_TRACE(line);
    BonusGame game;
    game.fom->PicStt.Visible = false;
    game.data.WriteScript("end", {"おわり"});
    game.data.WriteScript("s", {"一", line});
    game.fom->StartEvent("s");
    game.fom->Lbl_Click();
    EXPECT_EQ(game.fom->ScriptFile, TextFile("end"));
    const bool named = std::string(line).find(',') != std::string::npos;
    EXPECT_EQ(std::filesystem::exists(game.data.Path() + std::string("x") + kPageEnding), named);
    EXPECT_EQ(game.platform.Failures.empty(), named);
    if (!named) {
      EXPECT_EQ(game.platform.Failures[0],
                TextFile("s") + " 2行目：おまけページの名前がありません（「1」）。ページは書きません。");
    }
  }
}

std::string RunCommand(const std::string& command) {
  std::unique_ptr<FILE, int (*)(FILE*)> pipe(::popen(command.c_str(), "r"), ::pclose);
  if (!pipe) return "";
  std::string out;
  std::array<char, 4096> buffer{};
  while (std::size_t n = std::fread(buffer.data(), 1, buffer.size(), pipe.get())) {
    out.append(buffer.data(), n);
  }
  return out;
}

// A real browser opens the page: it must decode it as Shift_JIS, show the
// escaped name as text, and find every picture beside the page, whether the
// page lies beside the game or in the player's own folder.
TEST(BonusPage, BrowserShowsTheNameAndLoadsEveryPicture) {
  const char* browser = "/usr/bin/chromium";
  if (::access(browser, X_OK) != 0) GTEST_SKIP() << "no browser at " << browser;
  testing::DataFolder player;
  for (const bool installed : {false, true}) {
    SCOPED_TRACE(installed ? "in the player's folder" : "beside the game");
    BonusGame game;
    if (installed) {
      game.fom = std::make_unique<Fom>(game.platform, game.data.Path(), player.Path() + "kiravel/");
      game.fom->Form_Load();
    }
    const std::string pages = installed ? player.Path() + "kiravel/" : game.data.Path();
    game.data.WriteScript("head", {"<html><head><meta charset=\"Shift_JIS\"></head><body>"});
    game.data.WriteScript("char2", {"<p id=\"courier\">-mの旅</p>"});
    game.data.WriteScript(
        "foot", {"<script>", "window.addEventListener('load', function () {",
                 "  var widths = [];",
                 "  for (var i = 0; i < document.images.length; i++)",
                 "    widths.push(document.images[i].naturalWidth);",
                 "  var p = document.createElement('p');",
                 "  p.id = 'widths';",
                 "  p.textContent = widths.join(',');",
                 "  document.body.appendChild(p);", "});", "</script></body></html>"});
    std::string widths;
    int width = 10;
    for (const char* k : {"0", "1", "2", "3", "4", "5", "6", "7", "8", "9_1", "9_2"}) {
      game.data.WritePicture(std::string("2") + k, width, 4);
      widths += (widths.empty() ? "" : ",") + std::to_string(width++);
    }
    game.fom->TxtName.Text = "ミンヤ<&>";
    game.fom->WriteBonusPage("2,b");
    testing::DataFolder profile;
    const std::string dom = RunCommand(
        std::string("timeout 60 ") + browser +
        " --headless --no-sandbox --disable-gpu --disable-background-networking"
        " --disable-component-update --disable-sync --no-first-run --user-data-dir='" +
        profile.Path() + "' --virtual-time-budget=10000 --dump-dom 'file://" + pages +
        std::string("b") + kPageEnding + "' 2>/dev/null");
    EXPECT_NE(dom.find("<p id=\"courier\">ミンヤ&lt;&amp;&gt;の旅</p>"), std::string::npos) << dom;
    EXPECT_NE(dom.find("<p id=\"widths\">" + widths + "</p>"), std::string::npos) << dom;
  }
}

}  // namespace
}  // namespace kiravel
