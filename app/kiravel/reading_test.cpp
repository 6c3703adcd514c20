// Reading the story: the history of the pages shown, the auto-advance and
// the fast-forward through pages read before. None of them may reach the
// game other than as the player's own click on the text.
#include <gtest/gtest.h>

#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "desktop/history_view.h"
#include "app/kiravel/replay_fixture.h"
#include "app/kiravel/story_reading.h"
#include "app/kiravel/window_fixture.h"
#include "platform/data_folder.h"
#include "testing/game_fixture.h"

namespace kiravel::qt {
namespace {

using Kind = StoryHistory::Kind;

std::vector<std::pair<Kind, std::string>> Entries(const StoryHistory& history) {
  std::vector<std::pair<Kind, std::string>> entries;
  for (const StoryHistory::Entry& entry : history.Ended()) entries.emplace_back(entry.kind, entry.text);
  return entries;
}

// The player clicks the story text until the scene is over.
void ReadToTheEnd(Window& w) {
  for (int click = 0; click < 50 && w.fom->Lbl.Shown(); ++click) w.window->Click(w.fom->Lbl);
  ASSERT_FALSE(w.fom->Lbl.Shown());
}

// A load marks a break and clears nothing: what was read before it stays,
// in order, and the pages after it follow.
TEST(StoryHistory, HoldsThePagesShownInOrderAcrossALoad) {
  Window w;
  BoxCatcher boxes;
  Fom& f = *w.fom;
  w.data.WriteScript("opn", {"一", "二", "三", "四", "五", "六", "tugi"});
  w.data.WriteScript("after", {"その後", "tugi"});
  w.Widget<QPushButton>(f.ComStt[1]).click();
  ReadToTheEnd(w);
  ASSERT_FALSE(::testing::Test::HasFatalFailure());
  w.window->Change([&] { f.SaveGame(); });
  w.window->Change([&] { f.Form_Activate(); });
  w.Widget<QPushButton>(f.ComStt[2]).click();
  ASSERT_FALSE(f.PicStt.Shown()) << boxes.Texts.join("|").toStdString();
  w.window->Change([&] { f.StartEvent("after"); });

  const StoryHistory& history = w.window->Reading().History();
  using Entry = std::pair<Kind, std::string>;
  EXPECT_EQ(Entries(history), (std::vector<Entry>{{Kind::Page, "一\n二\n三\n四\n五"},
                                                  {Kind::Page, "六"},
                                                  {Kind::Load, ""}}));
  EXPECT_EQ(history.OnScreen().text, "その後");
  EXPECT_EQ(history.OnScreen().scene, TextFile("after"));

  // Opened, it shows them all, newest at the bottom and in sight.
  Activate(w);
  Press(Qt::Key_H);
  ASSERT_TRUE(w.window->Reading().HistoryOpen());
  HistoryView& view = *w.window->Reading().HistoryWidget();
  const QString shown = view.toPlainText();
  EXPECT_LT(shown.indexOf("五"), shown.indexOf("六"));
  EXPECT_LT(shown.indexOf("六"), shown.indexOf("ロード"));
  EXPECT_TRUE(shown.endsWith("その後")) << shown.toStdString();
  EXPECT_EQ(view.verticalScrollBar()->value(), view.verticalScrollBar()->maximum());
  EXPECT_EQ(view.font().family(), w.Widget<QLabel>(f.Lbl).font().family());
  view.selectAll();
  EXPECT_EQ(view.textCursor().selectedText().size(), shown.size()) << "the history can be copied";
}

// A new page replaces what the history kept of the page before it only by
// ending it: the last thousand pages are kept, the oldest go first.
TEST(StoryHistory, KeepsTheLastThousandPages) {
  StoryHistory history;
  for (std::size_t page = 0; page <= StoryHistory::kPagesKept + 1; ++page) {
    history.Follow(TextFile("opn"), "\r\n" + std::to_string(page) + "▼");
    if (page == 3) history.Break(Kind::NewGame);
  }
  history.Follow("", "");
  std::size_t pages = 0;
  for (const StoryHistory::Entry& entry : history.Ended()) pages += entry.kind == Kind::Page ? 1 : 0;
  EXPECT_EQ(pages, StoryHistory::kPagesKept);
  EXPECT_EQ(history.Ended().front().text, "2");
  EXPECT_EQ(history.Ended()[2].kind, Kind::NewGame);
  EXPECT_EQ(history.Ended().back().text, std::to_string(StoryHistory::kPagesKept + 1));
}

// While the history is open the scene waits: the typing timer's ticks, a
// click on the text or the skip button, and keys that read on all stay
// away from the game. Closing gives the focus back where it was.
TEST(StoryHistory, NothingReachesTheGameWhileItIsOpen) {
  Window w;
  Fom& f = *w.fom;
  w.data.WriteScript("opn", {"一", "二", "三", "四", "tugi"});
  Activate(w);
  w.window->Change([&] { f.menu_tim_Click_Click(1); });
  w.Widget<QPushButton>(f.ComStt[0]).click();
  ASSERT_TRUE(f.Lbl.Shown());
  QWidget* focused = QApplication::focusWidget();
  Press(Qt::Key_PageUp);
  ASSERT_TRUE(w.window->Reading().HistoryOpen());
  const std::string caption = f.Lbl.Caption;

  QSignalSpy ticks(w.window->GameTimers().QtTimer(f.TimSay), &QTimer::timeout);
  ASSERT_TRUE(RunUntil([&] { return ticks.count() >= 3; }));
  QTest::mouseClick(&w.Widget<QLabel>(f.Lbl), Qt::LeftButton);
  QTest::mouseClick(&w.Widget<QPushButton>(f.ComSkep), Qt::LeftButton);
  QTest::keyClick(w.window.get(), Qt::Key_Space);
  Press(Qt::Key_Return);
  Press(Qt::Key_PageDown);
  EXPECT_EQ(f.Lbl.Caption, caption);
  EXPECT_TRUE(f.ComSkep.Shown());

  Press(Qt::Key_Escape);
  EXPECT_FALSE(w.window->Reading().HistoryOpen());
  EXPECT_EQ(QApplication::focusWidget(), focused);
  EXPECT_TRUE(RunUntil([&] { return f.Lbl.Caption.find("二") != std::string::npos; }))
      << "the scene goes on once the history is closed";
}

// H opens and closes it; in the name box H is a letter of the name.
TEST(StoryHistory, HIsALetterInTheNameBox) {
  Window w;
  Fom& f = *w.fom;
  Activate(w);
  w.StartEasyGameInTown();
  Press(Qt::Key_H);
  EXPECT_TRUE(w.window->Reading().HistoryOpen());
  Press(Qt::Key_H);
  EXPECT_FALSE(w.window->Reading().HistoryOpen());

  QLineEdit& name = w.Widget<QLineEdit>(f.TxtName);
  name.setFocus();
  name.selectAll();
  QTest::keyClicks(&name, "has");
  EXPECT_EQ(f.TxtName.Text, "has");
  EXPECT_FALSE(w.window->Reading().HistoryOpen());
  EXPECT_FALSE(w.window->Reading().Pacer().AutoAdvance());
  EXPECT_EQ(w.window->Reading().Pacer().Skipping(), PagePacer::Skip::Off);
}

// Clicks the recording holds, by what they clicked.
int Count(const std::string& recording, const std::string& line) {
  int count = 0;
  for (std::size_t at = recording.find("\n" + line + "\n"); at != std::string::npos;
       at = recording.find("\n" + line + "\n", at + 1)) {
    ++count;
  }
  return count;
}

// With the typing timer on, the auto-advance clicks only where a page stops
// at its mark: once after the first page's five lines and once before the
// scene's end. A box about a missing picture comes up in between, and no
// wait runs while it is up. The recording replays in the runner to the
// window's own state.
TEST(AutoAdvance, ClicksOnlyAtPageMarksNeverAtABoxAndReplaysInTheRunner) {
  testing::DataFolder out;
  scenario::Recorder recorder(out.Path() + "played.txt");
  Window w(Data::Complete, &recorder);
  Fom& f = *w.fom;
  Responder responder;
  bool waitedAtABox = false;
  int boxes = 0;
  for (const char* scene : {"00", "10", "20"}) {
    w.data.WriteScript(scene, {"一", "二", "三", "四", "五", "六", ">img nothere", "七", "tugi"});
  }
  // A size whose twips are whole pixels, so the runner places it alike.
  w.window->resize(w.window->width(), 600 - (w.window->frameGeometry().height() - w.window->height()));
  ASSERT_TRUE(RunUntil([&] { return f.fom.WindowHeight == 9000; }));
  w.StartEasyGameInTown();
  w.Widget<QPushButton>(f.Com[3]).click();
  responder.Path = {"文章", "速い"};
  w.Widget<QPushButton>(f.MenuCom).click();
  ASSERT_EQ(f.TimSay.Interval(), 100);
  ASSERT_TRUE(f.Com[0].Shown());

  PagePacer& pacer = w.window->Reading().Pacer();
  pacer.Choose({0, 0, false});
  w.window->Reading().ToggleAutoAdvance();
  const std::string before = ReadAll(out.Path() + "played.txt");
  QTimer watch;
  watch.callOnTimeout([&] {
    if (QApplication::activeModalWidget() == nullptr) return;
    ++boxes;
    waitedAtABox = waitedAtABox || pacer.Waiting() >= 0;
  });
  watch.start(0);
  w.Widget<QPushButton>(f.Com[0]).click();
  ASSERT_TRUE(RunUntil([&] { return !f.Lbl.Shown(); })) << f.Lbl.Caption;
  watch.stop();

  const std::string played = ReadAll(out.Path() + "played.txt").substr(before.size() - 1);
  EXPECT_EQ(Count(played, "click Lbl"), 2) << played;
  EXPECT_EQ(played.find("tick TimSay\ntick TimSay\ntick TimSay\ntick TimSay\nclick Lbl\n"),
            played.find("tick TimSay")) << played;
  EXPECT_GT(boxes + responder.Boxes, 0) << "the missing picture was told";
  EXPECT_FALSE(waitedAtABox);
  EXPECT_TRUE(f.Com[1].Shown()) << "the scene ended into the town";
  EXPECT_EQ(ReplayedDump(ReadAll(out.Path() + "played.txt"), w.data.Path()), WindowDump(f));
}

// Never outside a scene: switched on in the town, the auto-advance asks
// nothing, however long the window stands.
TEST(AutoAdvance, NeverActsOutsideAScene) {
  Window w;
  BoxCatcher boxes;
  w.StartEasyGameInTown();
  w.window->Reading().Pacer().Choose({0, 0, false});
  w.window->Reading().ToggleAutoAdvance();
  Settle();
  EXPECT_EQ(w.window->Reading().Pacer().Waiting(), -1);
  EXPECT_TRUE(boxes.Texts.isEmpty());
  EXPECT_TRUE(w.window->windowTitle().contains("自動送り"));
  EXPECT_TRUE(w.window->findChild<QLabel*>("readingMark")->isVisible());
}

// The fast-forward passes what was read in an earlier run of the window,
// kept in the player's folder, and stops at the first page never seen;
// a damaged copy of that file means nothing was read, without a word.
TEST(FastForward, StopsAtTheFirstUnreadPageAcrossARestartAndADamagedFile) {
  testing::DataFolder player;
  Window w;
  BoxCatcher boxes;
  Fom* f = w.fom.get();
  w.data.WriteScript("opn", {"一", "二", "三", "四", "五", "tugi"});
  w.Start(nullptr, player.Path());
  f = w.fom.get();
  w.Widget<QPushButton>(f->ComStt[0]).click();
  w.window->Click(f->Lbl);
  ASSERT_EQ(f->Lbl.Caption, "\r\n一\r\n二▽");
  w.window->close();
  const std::string file = w.window->Reading().Read().File();
  ASSERT_TRUE(std::filesystem::exists(file));

  w.Start(nullptr, player.Path());
  f = w.fom.get();
  Activate(w);
  w.Widget<QPushButton>(f->ComStt[0]).click();
  QTest::keyPress(QApplication::focusWidget(), Qt::Key_Control, Qt::ControlModifier);
  ASSERT_EQ(w.window->Reading().Pacer().Skipping(), PagePacer::Skip::Held);
  ASSERT_TRUE(RunUntil([&] { return w.window->Reading().Pacer().Skipping() == PagePacer::Skip::Off; }));
  EXPECT_EQ(f->Lbl.Caption, "\r\n一\r\n二\r\n三▽");
  QTest::keyRelease(QApplication::focusWidget(), Qt::Key_Control);

  // Once seen, the page counts as read: S goes on to the next new one.
  Press(Qt::Key_S);
  ASSERT_TRUE(RunUntil([&] { return w.window->Reading().Pacer().Skipping() == PagePacer::Skip::Off; }));
  EXPECT_EQ(f->Lbl.Caption, "\r\n一\r\n二\r\n三\r\n四▽");
  w.window->close();

  std::ofstream(file, std::ios::binary) << "kiravel read pa";  // cut short as it was written
  w.Start(nullptr, player.Path());
  f = w.fom.get();
  Activate(w);
  w.Widget<QPushButton>(f->ComStt[0]).click();
  Press(Qt::Key_S);
  ASSERT_TRUE(RunUntil([&] { return w.window->Reading().Pacer().Skipping() == PagePacer::Skip::Off; }));
  EXPECT_EQ(f->Lbl.Caption, "\r\n一\r\n二▽") << "only the page on screen counts as read";
  EXPECT_TRUE(boxes.Texts.isEmpty()) << boxes.Texts.join("|").toStdString();
}

// The fast-forward never clicks the scene's last page, which would carry
// play out of the scene; with unread pages allowed it stops there too.
TEST(FastForward, StopsBeforeTheScenesEnd) {
  Window w;
  Fom& f = *w.fom;
  w.data.WriteScript("opn", {"一", "二", "tugi"});
  Activate(w);
  w.window->Reading().Pacer().Choose({1500, 60, true});
  w.Widget<QPushButton>(f.ComStt[0]).click();
  Press(Qt::Key_S);
  ASSERT_TRUE(RunUntil([&] { return w.window->Reading().Pacer().Skipping() == PagePacer::Skip::Off; }));
  EXPECT_TRUE(f.Lbl.Shown());
  EXPECT_EQ(f.Lbl.Caption, "\r\n一\r\n二▼");
}

}  // namespace
}  // namespace kiravel::qt
