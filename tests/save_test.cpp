#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/stat.h>

#include <csignal>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "platform/cp932.h"
#include "platform/data_folder.h"
#include "platform/textfile.h"
#include "testing/game_fixture.h"

namespace kiravel {
namespace {

using Lines = std::vector<std::string>;

const Lines kSaveFiles = {SaveFolderPath() + DataFileName("mati"), SaveFolderPath() + DataFileName("you"), SaveFolderPath() + DataFileName("irai"),
                          SaveFolderPath() + DataFileName("save")};

// A hard game at the tavern of its second town, with one accepted job and
// every saved value away from what a new game starts with.
struct TavernGame : testing::Game {
  TavernGame() {
    StartInTown(1);
    Fom& f = *fom;
    SetTowns({0, 1, 2}, 1);
    f.Com_Click(3);
    f.LstIrai.ListIndex = 0;
    f.ComIrai_Click();
    f.TxtName.Type("クロエ");
    f.menu_tim_Click_Click(2);
    f.StrVal = {120, 7, 0, 860, 42};
    for (std::int16_t i = 0; i < 5; ++i) f.AddStatus(i, 0);
    f.IveCount = {1, 0, 4};
    platform.MessageBoxes.clear();
  }

  Fom& f() { return *fom; }

  // What the save files hold: the lists and the saved values.
  std::string Saved() {
    std::ostringstream s;
    auto family = [&](ControlArray<ListBox>& lists) {
      lists.ForEach([&](ListBox& list) {
        for (const std::string& item : list.Items()) s << item << '|';
        s << '\n';
      });
    };
    family(f().LstMati);
    family(f().LstYou);
    family(f().LstSigoto);
    s << f().Money << ' ' << f().TxtName.Text << ' ' << f().MatiNow << ' '
      << f().TimSay.Interval();
    for (std::int16_t v : f().StrVal) s << ' ' << v;
    for (std::int16_t v : f().IveCount) s << ' ' << v;
    return s.str();
  }

  // Everything a refused load must leave as it was: the saved values and
  // what the window shows.
  std::string State() {
    std::ostringstream s;
    s << Saved() << ' ' << f().LblDay.Caption << ' ' << f().LblGame.Caption;
    for (int i = 0; i < 5; ++i) s << ' ' << f().LblStr[i].Caption;
    s << ' ' << f().PicStt.Visible << f().PicBar.Visible << f().Lbl.Visible;
    return s.str();
  }

  Lines SaveBytes() {
    Lines bytes;
    for (const std::string& file : kSaveFiles) bytes.push_back(data.Read(file));
    return bytes;
  }

  std::string LastMessage() {
    return platform.MessageBoxes.empty() ? "" : platform.MessageBoxes.back().Text;
  }
};

std::string Cp932(const std::string& text) { return *Utf8ToCp932(text); }

TEST(SaveAndLoad, LoadBringsBackEverySavedValueAndShowsTheTownView) {
  TavernGame game;
  Fom& f = game.f();
  f.SaveGame();
  ASSERT_EQ(game.LastMessage(), "SAVE　OK");
  const std::string saved = game.Saved();
  const Lines files = game.SaveBytes();

  // Play on: every saved value changes, and the tavern stays open.
  f.AddTown("はひふ", 2);
  f.AddFairy(1);
  f.RemoveJob(0);
  f.Money = 5;
  f.TxtName.Text = "別人";
  f.MatiNow = 3;
  f.menu_tim_Click_Click(0);
  f.StrVal = {1, 2, 3, 4, 300};
  f.IveCount = {6, 6, 6};
  f.PicBar.Visible = true;

  ASSERT_TRUE(f.LoadGame());
  EXPECT_EQ(game.LastMessage(), "Load　OK");
  EXPECT_FALSE(f.PicBar.Visible) << "a load always ends in the town view";
  EXPECT_TRUE(f.Com[1].Visible);
  EXPECT_EQ(f.LblGame.Caption, "ここは(草)　かきくの街・・・");
  EXPECT_EQ(f.LblStr[3].Caption, "体力[860]");
  EXPECT_EQ(game.Saved(), saved);

  f.SaveGame();
  EXPECT_EQ(game.SaveBytes(), files) << "what a load reads back is saved again unchanged";
}

// The files are the game's own format: CP932, CR LF, numbers with a space
// (or the minus sign) in front and a space after.
TEST(SaveAndLoad, FilesHoldTheDocumentedBytes) {
  TavernGame game;
  Fom& f = game.f();
  f.RemoveJob(0);
  f.SaveGame();
  EXPECT_EQ(game.data.Read(SaveFolderPath() + DataFileName("irai")), "") << "no jobs, no lines";

  const Lines job = {"物[手紙]　先[(草)　かきく]　\\300　〆25日　↑草", "1", "300", "0", "1", "25"};
  for (int c = 0; c <= 5; ++c) f.LstSigoto[c].AddItem(job[static_cast<std::size_t>(c)]);
  f.Money = 10000;
  f.MatiNow = 0;
  f.StrVal = {-5, 0, 1000, 32767, 1};
  f.SaveGame();
  EXPECT_EQ(game.data.Read(SaveFolderPath() + DataFileName("mati")),
            Cp932("(火)　あいう,0\r\n(草)　かきく,1\r\n(水)　さしす,2\r\n"));
  EXPECT_EQ(game.data.Read(SaveFolderPath() + DataFileName("irai")),
            Cp932("物[手紙]　先[(草)　かきく]　\\300　〆25日　↑草,1,300,0,1,25\r\n"));
  EXPECT_EQ(game.data.Read(SaveFolderPath() + DataFileName("save")),
            Cp932(" 10000 \r\nクロエ\r\n 0 \r\n 200 \r\n-5 \r\n 0 \r\n 1000 \r\n 32767 \r\n 1 \r\n"
                  " 1 \r\n 0 \r\n 4 \r\n"));
  const std::string you = game.data.Read(SaveFolderPath() + DataFileName("you"));
  EXPECT_EQ(std::count(you.begin(), you.end(), '\n'), 3);
  for (const auto& entry : std::filesystem::directory_iterator(game.data.Path() + TextFolderPath() + "save")) {
    EXPECT_TRUE(entry.path().extension() == kDataEnding) << "left behind: " << entry.path();
  }
}

struct Damage {
  std::string file;
  std::string bytes;  // what the file is replaced with (CP932 of this text)
  std::string message;
  bool remove = false;
};

// Each damaged save is refused with the file and line named, and the game
// in progress is left exactly as it was.
TEST(SaveAndLoad, DamagedSaveIsRefusedAndTheGameGoesOn) {
  const std::string valid = " 10000 \r\nクロエ\r\n 1 \r\n 200 \r\n 50 \r\n 50 \r\n 50 \r\n 50 \r\n 9 \r\n 0 \r\n 0 \r\n 0 \r\n";
  auto scalars = [&](int line, const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(valid);
    for (std::string l; std::getline(in, l);) lines.push_back(l);
    lines[static_cast<std::size_t>(line - 1)] = text + "\r";
    std::string out;
    for (const std::string& l : lines) out += l + "\n";
    return out;
  };
  const std::string lowerOut = "ロードできませんでした。\r\n" + SaveFolderPath();
  const std::vector<Damage> cases = {
      {DataFileName("save"), "", DataFileName("save") + "：ファイルがありません。", true},
      {DataFileName("save"), " 1 \r\n", DataFileName("save") + "：12行のはずが1行あります。"},
      {DataFileName("save"), valid + "余り\r\n", DataFileName("save") + "：12行のはずが13行あります。"},
      {DataFileName("mati"), "(火)　あいう,0\r\n(草)　かきく\r\n",
       DataFileName("mati") + " 2行目：「,」で区切った項目が2つのはずが1つあります。"},
      {DataFileName("mati"), "(火)　あいう,0\r\n", DataFileName("mati") + "：街が2つ以上あるはずです。"},
      {DataFileName("mati"), "(火)　あいう,0\r\n(草)　かきく,3\r\n", DataFileName("mati") + " 2行目：「3」は0から2までのはずです。"},
      {DataFileName("you"), "[火] まみむ,0,1\r\n", DataFileName("you") + " 1行目：「,」で区切った項目が2つのはずが3つあります。"},
      {DataFileName("you"), "[火] まみむ,-1\r\n", DataFileName("you") + " 1行目：「-1」は0から2までのはずです。"},
      {DataFileName("irai"), "物,1,300,0,5,25\r\n", DataFileName("irai") + " 1行目：「5」は0から2までのはずです。"},
      {DataFileName("irai"), "物,1,300,-1,1,25\r\n", DataFileName("irai") + " 1行目：「-1」は0から2までのはずです。"},
      {DataFileName("irai"), "物,1,40000,0,1,25\r\n", DataFileName("irai") + " 1行目：「40000」は0から32767までのはずです。"},
      {DataFileName("save"), scalars(1, " 12x "), DataFileName("save") + " 1行目：「 12x 」は数として読めません。"},
      {DataFileName("save"), scalars(1, ""), DataFileName("save") + " 1行目：「」は数として読めません。"},
      {DataFileName("save"), scalars(1, " 3000000000 "), DataFileName("save") + " 1行目：「 3000000000 」は0から2147483647までのはずです。"},
      {DataFileName("save"), scalars(1, "-1"), DataFileName("save") + " 1行目：「-1」は0から2147483647までのはずです。"},
      {DataFileName("save"), scalars(3, " 3 "), DataFileName("save") + " 3行目：「 3 」は0から2までのはずです。"},
      {DataFileName("save"), scalars(4, " 150 "), DataFileName("save") + " 4行目：文章の速さ「 150 」は0、100、200、300のどれかのはずです。"},
      {DataFileName("save"), scalars(5, " 40000 "), DataFileName("save") + " 5行目：「 40000 」は0から32767までのはずです。"},
      {DataFileName("save"), scalars(8, "-1 "), DataFileName("save") + " 8行目：「-1 」は0から32767までのはずです。"},
      {DataFileName("save"), scalars(9, " 366 "), DataFileName("save") + " 9行目：「 366 」は1から365までのはずです。"},
      {DataFileName("save"), scalars(9, " 0 "), DataFileName("save") + " 9行目：「 0 」は1から365までのはずです。"},
      {DataFileName("save"), scalars(12, "1e3"), DataFileName("save") + " 12行目：「1e3」は数として読めません。"},
  };
  for (const Damage& damage : cases) {
    SCOPED_TRACE(damage.message);
    TavernGame game;
    game.f().SaveGame();
    game.f().menu_tim_Click_Click(3);  // the game moves on after the save
    const std::string before = game.State();
    const std::string path = game.data.Path() + SaveFolderPath() + damage.file;
    if (damage.remove) {
      std::filesystem::remove(path);
    } else {
      game.data.WriteBytes(SaveFolderPath() + damage.file, Cp932(damage.bytes));
    }
    EXPECT_FALSE(game.f().LoadGame());
    EXPECT_EQ(game.platform.Failures, Lines{lowerOut + damage.message});
    EXPECT_EQ(game.State(), before);
  }
}

TEST(SaveAndLoad, BytesThatAreNotCp932AndOverlongListsAreRefused) {
  TavernGame game;
  game.f().SaveGame();
  game.data.WriteBytes(SaveFolderPath() + DataFileName("mati"), "a,0\r\nb\x82,1\r\n");
  EXPECT_FALSE(game.f().LoadGame());
  EXPECT_EQ(game.platform.Failures.back(),
            "ロードできませんでした。\r\n" + SaveFolderPath() + DataFileName("mati") + " 2行目：シフトJISとして読めない文字があります。");

  game.f().SaveGame();
  std::string fairies;
  for (int i = 0; i < 32768; ++i) fairies += "f,0\r\n";
  game.data.WriteBytes(SaveFolderPath() + DataFileName("you"), fairies);
  EXPECT_FALSE(game.f().LoadGame());
  EXPECT_EQ(game.platform.Failures.back(),
            "ロードできませんでした。\r\n" + SaveFolderPath() + DataFileName("you") + "：32768行あり、32767行を超えています。");
}

// What the redraw after a load does to values above their limits stays: the
// purse is cut to 300000 and a strength to 1000, without any ending.
TEST(SaveAndLoad, ValuesAboveTheirLimitsAreCutAsTheyAreShown) {
  TavernGame game;
  game.f().SaveGame();
  game.data.WriteBytes(SaveFolderPath() + DataFileName("save"),
                       Cp932("400000\r\nクロエ\r\n1\r\n0\r\n2000\r\n50\r\n50\r\n1500\r\n365\r\n"
                             "0\r\n0\r\n2.5\r\n"));
  ASSERT_TRUE(game.f().LoadGame());
  EXPECT_EQ(game.f().Money, 300000);
  EXPECT_EQ(game.f().LblDay.Caption, "300000星粒");
  EXPECT_EQ(game.f().StrVal[0], 1000);
  EXPECT_EQ(game.f().StrVal[3], 1000);
  EXPECT_EQ(game.f().StrVal[4], 365);
  EXPECT_EQ(game.f().IveCount[2], 2) << "halves round to even";
  EXPECT_FALSE(game.f().Lbl.Visible) << "no ending started";
}

TEST(SaveAndLoad, LoadStartWithoutASaveLeavesTheStartPanelUp) {
  testing::Game game;
  game.fom->ComStt_Click(2);
  EXPECT_TRUE(game.fom->PicStt.Visible);
  EXPECT_TRUE(game.fom->ScriptFile.empty()) << "no scene started";
  EXPECT_FALSE(game.fom->TimDay.Enabled());
  EXPECT_EQ(game.platform.Failures,
            Lines{"ロードできませんでした。\r\n" + SaveFolderPath() + DataFileName("mati") + "：ファイルがありません。"});
}

TEST(SaveAndLoad, LoadStartPlaysTheSavedGameOnTheHardLevel) {
  TavernGame game;
  game.f().SaveGame();
  const std::string saved = game.Saved();
  game.f().Form_Activate();
  game.f().ComStt_Click(2);
  EXPECT_FALSE(game.f().PicStt.Visible);
  EXPECT_TRUE(game.f().menu_sis.Enabled);
  EXPECT_EQ(game.f().LvPen, 2);
  EXPECT_EQ(game.LastMessage(), "Load　OK");
  EXPECT_EQ(game.Saved(), saved);
}

// A journey left running behind the start panel would go on in the loaded
// game towards a town of the old one.
TEST(SaveAndLoad, LoadStartStopsTheJourneyOfTheGameLeftBehind) {
  TavernGame game;
  Fom& f = game.f();
  f.SaveGame();
  f.AddTown("はひふ", 0);
  f.EnterTown();
  f.LstMati[0].ListIndex = 3;
  f.Com_Click(4);
  ASSERT_TRUE(f.TimDay.Enabled());
  game.platform.QueueAnswer(MsgBoxAnswer::Yes);
  f.Pic_Click();
  ASSERT_TRUE(f.PicStt.Visible);
  f.ComStt_Click(2);
  EXPECT_EQ(game.LastMessage(), "Load　OK");
  EXPECT_FALSE(f.TimDay.Enabled());
  EXPECT_FALSE(f.TimBtl.Enabled());
  EXPECT_FALSE(f.PicBtl.Visible);
}

TEST(SaveAndLoad, MissingSaveFolderIsCreated) {
  TavernGame game;
  std::filesystem::remove_all(game.data.Path() + TextFolderPath() + "save");
  game.f().SaveGame();
  EXPECT_EQ(game.LastMessage(), "SAVE　OK");
  EXPECT_TRUE(game.f().LoadGame());
}

// A save that cannot be written says so, and the old save still loads.
TEST(SaveAndLoad, UnwritableSaveKeepsTheOldOne) {
  TavernGame game;
  Fom& f = game.f();
  f.SaveGame();
  const Lines old = game.SaveBytes();
  f.Money = 777;

  std::filesystem::create_directories(game.data.Path() + SaveFolderPath() + DataFileName("irai") + ".new/blocked");
  f.SaveGame();
  ASSERT_EQ(game.platform.Failures.size(), 1u);
  EXPECT_TRUE(game.platform.Failures[0].starts_with(
      "セーブできませんでした。前のセーブはそのまま残っています。\r\n" + SaveFolderPath() + DataFileName("irai") + "：書き込めません（"))
      << game.platform.Failures[0];
  EXPECT_NE(game.LastMessage(), "SAVE　OK");
  EXPECT_EQ(game.SaveBytes(), old);
  EXPECT_FALSE(std::filesystem::exists(game.data.Path() + SaveFolderPath() + DataFileName("mati") + ".new"));

  std::filesystem::remove_all(game.data.Path() + TextFolderPath() + "save");
  game.data.WriteBytes(TextFolderPath() + "save", "a file where the folder should be");
  f.SaveGame();
  EXPECT_TRUE(game.platform.Failures.back().starts_with(
      "セーブできませんでした。前のセーブはそのまま残っています。\r\n" + SaveFolderPath() + "：フォルダを作れません"))
      << game.platform.Failures.back();
}

// A full disk in the middle of writing the new files: the size limit makes
// the writes fail as a full disk would.
TEST(SaveAndLoad, DiskFillingUpMidSaveKeepsTheOldOne) {
  TavernGame game;
  Fom& f = game.f();
  f.SaveGame();
  const Lines old = game.SaveBytes();
  for (int i = 0; i < 200; ++i) f.AddFairy(static_cast<std::int16_t>(i % 3));

  rlimit saved{};
  ::getrlimit(RLIMIT_FSIZE, &saved);
  auto previous = std::signal(SIGXFSZ, SIG_IGN);
  rlimit small = saved;
  small.rlim_cur = 512;
  ::setrlimit(RLIMIT_FSIZE, &small);
  f.SaveGame();
  ::setrlimit(RLIMIT_FSIZE, &saved);
  std::signal(SIGXFSZ, previous);

  ASSERT_EQ(game.platform.Failures.size(), 1u);
  EXPECT_TRUE(game.platform.Failures[0].find(SaveFolderPath() + DataFileName("you") + "：書き込めません（") !=
              std::string::npos)
      << game.platform.Failures[0];
  EXPECT_EQ(game.SaveBytes(), old);
  for (const auto& entry : std::filesystem::directory_iterator(game.data.Path() + TextFolderPath() + "save")) {
    EXPECT_EQ(entry.path().extension(), kDataEnding) << "left behind: " << entry.path();
  }
}

TEST(SaveAndLoad, NameThatCp932CannotHoldIsNotSaved) {
  TavernGame game;
  game.f().SaveGame();
  const Lines old = game.SaveBytes();
  game.f().TxtName.Text = "😀";
  game.f().SaveGame();
  EXPECT_EQ(game.platform.Failures.back(),
            "セーブできませんでした。前のセーブはそのまま残っています。\r\n" + SaveFolderPath() + DataFileName("save") + " 2行目：シフトJISで書けない文字があります。");
  EXPECT_EQ(game.SaveBytes(), old);
}

// A save whose new files were complete and committed, but which could not
// move one of them to its own name, is the save from then on: a load reads
// the new game, and once the way is free the files are put in place.
TEST(SaveAndLoad, CommittedSaveCutShortIsFinishedByTheNextLoad) {
  TavernGame game;
  Fom& f = game.f();
  f.SaveGame();
  const std::string folder = game.data.Path() + SaveFolderPath();
  std::filesystem::remove(folder + DataFileName("you"));
  std::filesystem::create_directories(folder + DataFileName("you") + "/blocked");
  f.Money = 4321;
  f.SaveGame();
  ASSERT_EQ(game.platform.Failures.size(), 1u);
  EXPECT_TRUE(game.platform.Failures[0].starts_with("セーブを最後まで終えられませんでした。"));

  f.Money = 1;
  ASSERT_TRUE(f.LoadGame()) << "the committed set is read from where it lies";
  EXPECT_EQ(f.Money, 4321);

  f.Money = 99;
  f.SaveGame();
  EXPECT_EQ(game.platform.Failures.back(),
            "セーブできませんでした。前のセーブはそのまま残っています。\r\n" + SaveFolderPath() + "commit.lst："
            "途中で止まった前のセーブを置き終えられません。")
      << "its staged files must not be written over";

  std::filesystem::remove_all(folder + DataFileName("you"));
  f.Money = 1;
  ASSERT_TRUE(f.LoadGame());
  EXPECT_EQ(f.Money, 4321);
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    EXPECT_EQ(entry.path().extension(), kDataEnding) << "left behind: " << entry.path();
  }
  EXPECT_TRUE(std::filesystem::is_regular_file(folder + DataFileName("you")));
}

// New files written but never committed (the save stopped before its
// manifest appeared) are not the save.
TEST(SaveAndLoad, UncommittedNewFilesAreIgnored) {
  TavernGame game;
  Fom& f = game.f();
  f.SaveGame();
  const std::string saved = game.Saved();
  game.data.WriteBytes(SaveFolderPath() + DataFileName("save") + ".new", Cp932(" 99 \r\n"));
  game.data.WriteBytes(SaveFolderPath() + DataFileName("mati") + ".new", "half");
  f.Money = 1;
  ASSERT_TRUE(f.LoadGame());
  EXPECT_EQ(game.Saved(), saved);
}

// A list that cannot be used, with no staged file it could finish, tells
// nothing: the four files are the save, as they would be without it.
TEST(SaveAndLoad, UnusableListWithNothingToFinishIsSetAside) {
  TavernGame game;
  Fom& f = game.f();
  f.SaveGame();
  const std::string saved = game.Saved();
  const std::string folder = game.data.Path() + SaveFolderPath();
  std::string staleList;
  for (const char* name : kSaveFileNames) staleList += std::string(name) + ",1,00\r\n";
  for (const std::string& list : {std::string(DataFileName("mati") + ",1,00\r\n"), std::string("\xff\r\n"), staleList,
                                  std::string("a folder")}) {
    SCOPED_TRACE(list);
    std::filesystem::remove_all(folder + "commit.lst");
    if (list == "a folder") {
      std::filesystem::create_directories(folder + "commit.lst/x");
    } else {
      game.data.WriteBytes(SaveFolderPath() + "commit.lst", list);
    }
    f.Money = 1;
    ASSERT_TRUE(f.LoadGame()) << (game.platform.Failures.empty() ? "" : game.platform.Failures.back());
    EXPECT_EQ(game.Saved(), saved);
    f.SaveGame();
    EXPECT_EQ(game.LastMessage(), "SAVE　OK");
  }
}

// With staged files beside it the list still decides: a damaged one is
// reported and nothing is guessed.
TEST(SaveAndLoad, DamagedListWithStagedFilesIsReportedNotGuessedAround) {
  TavernGame game;
  Fom& f = game.f();
  f.SaveGame();
  game.data.WriteBytes(SaveFolderPath() + "commit.lst", DataFileName("mati") + ",1,00\r\n");
  game.data.WriteBytes(SaveFolderPath() + DataFileName("mati") + ".new", "half");
  const std::string before = game.State();
  EXPECT_FALSE(f.LoadGame());
  EXPECT_EQ(game.platform.Failures.back(),
            "ロードできませんでした。\r\n" + SaveFolderPath() + "commit.lst：途中で止まったセーブの記録が壊れています。");
  EXPECT_EQ(game.State(), before);
  f.SaveGame();
  EXPECT_EQ(game.LastMessage(), "SAVE　OK") << "a new save replaces the damaged one";
  EXPECT_TRUE(f.LoadGame());
}

// Another program may plant a link under a staged file's name: the save
// removes it and writes a file of its own, never the link's target.
TEST(SaveAndLoad, LinksUnderStagedNamesAreNotWrittenThrough) {
  TavernGame game;
  testing::DataFolder elsewhere;
  elsewhere.WriteBytes("target", "keep");
  const std::string folder = game.data.Path() + SaveFolderPath();
  std::filesystem::create_directories(folder);
  for (const std::string& staged : std::vector<std::string>{DataFileName("mati") + ".new", DataFileName("save") + ".new", "commit.lst.new"}) {
    std::filesystem::create_symlink(elsewhere.Path() + "target", folder + staged);
  }
  game.f().SaveGame();
  EXPECT_EQ(game.LastMessage(), "SAVE　OK");
  EXPECT_EQ(elsewhere.Read("target"), "keep");
  for (const std::string& file : kSaveFiles) {
    EXPECT_FALSE(std::filesystem::is_symlink(game.data.Path() + file)) << file;
  }
  const std::string saved = game.Saved();
  game.f().Money = 1;
  ASSERT_TRUE(game.f().LoadGame());
  EXPECT_EQ(game.Saved(), saved);
}

// A pipe or a folder in place of a save file is told like a missing one,
// and the game goes on; nothing waits for a writer.
TEST(SaveAndLoad, PipeOrFolderInPlaceOfASaveFileIsRefused) {
  TavernGame game;
  Fom& f = game.f();
  f.SaveGame();
  const std::string folder = game.data.Path() + SaveFolderPath();
  std::filesystem::remove(folder + DataFileName("save"));
  ASSERT_EQ(::mkfifo((folder + DataFileName("save")).c_str(), 0644), 0);
  const std::string before = game.State();
  EXPECT_FALSE(f.LoadGame());
  EXPECT_EQ(game.platform.Failures.back(),
            "ロードできませんでした。\r\n" + SaveFolderPath() + DataFileName("save") + "：ファイルを読めません。");
  EXPECT_EQ(game.State(), before);
  std::filesystem::remove(folder + DataFileName("save"));
  std::filesystem::create_directories(folder + DataFileName("save"));
  EXPECT_FALSE(f.LoadGame());
  EXPECT_EQ(game.platform.Failures.back(),
            "ロードできませんでした。\r\n" + SaveFolderPath() + DataFileName("save") + "：ファイルを読めません。");
}

// A save edited by hand can hold what play never lets in: a name the name
// box would refuse, a town text of megabytes that slows every later command.
// Each is refused with its file and line; what play can write still loads.
TEST(SaveAndLoad, TextsPlayCouldNeverWriteAreRefused) {
  TavernGame game;
  Fom& f = game.f();
  f.SaveGame();
  const std::string folder = game.data.Path() + SaveFolderPath();
  const Lines towns = ReadTextFile(folder + DataFileName("mati"), true).Lines;
  const Lines scalars = ReadTextFile(folder + DataFileName("save"), true).Lines;
  auto loadsWith = [&](const std::string& file, std::size_t line, const std::string& text) {
    Lines lines = file == DataFileName("mati") ? towns : scalars;
    lines[line] = text;
    game.data.WriteText(SaveFolderPath() + file, lines);
    const bool loaded = f.LoadGame();
    game.data.WriteText(SaveFolderPath() + file, file == DataFileName("mati") ? towns : scalars);
    return loaded;
  };
  EXPECT_TRUE(loadsWith(DataFileName("save"), 1, "あいうえおかきく"));
  EXPECT_TRUE(loadsWith(DataFileName("save"), 1, ""));
  EXPECT_FALSE(loadsWith(DataFileName("save"), 1, "あいうえおかきくけ"));
  EXPECT_EQ(game.platform.Failures.back(),
            "ロードできませんでした。\r\n" + SaveFolderPath() + DataFileName("save") + " 2行目：名前は8文字までで、"
            "名前の欄に打てる文字だけのはずです。");
  EXPECT_FALSE(loadsWith(DataFileName("save"), 1, "a\x01b"));
  EXPECT_FALSE(loadsWith(DataFileName("save"), 1, std::string(100000, 'a')));
  EXPECT_TRUE(loadsWith(DataFileName("mati"), 0, "(火)　" + std::string(196, 'a') + ",0"));
  EXPECT_FALSE(loadsWith(DataFileName("mati"), 0, "(火)　" + std::string(197, 'a') + ",0"));
  EXPECT_EQ(game.platform.Failures.back(),
            "ロードできませんでした。\r\n" + SaveFolderPath() + DataFileName("mati") + " 1行目：最初の項目が201文字あり、"
            "200文字を超えています。");
  EXPECT_FALSE(loadsWith(DataFileName("mati"), 0, std::string(10'000'000, 'a') + ",0"));
}

}  // namespace
}  // namespace kiravel
