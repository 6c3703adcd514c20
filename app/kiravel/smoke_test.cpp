// The game window under Qt's offscreen platform: its widgets must show what
// the game holds, and what the player does to them must reach the game.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFontInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QWheelEvent>

#include <algorithm>
#include <clocale>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <memory>
#include <vector>

#include "app/kiravel/window_fixture.h"
#include "platform/data_folder.h"
#include "platform/picture_decoder.h"

namespace kiravel::qt {
namespace {

TEST(GameWindow, EasyLevelLeadsFromTheStartPanelToATownViewThatShowsTheGame) {
  Window w;
  Fom& f = *w.fom;
  EXPECT_EQ(w.window->windowTitle(), "Kiravel");
  auto& easy = w.Widget<QPushButton>(f.ComStt[0]);
  EXPECT_EQ(easy.text(), "LV EASY");
  EXPECT_TRUE(easy.isVisible());
  EXPECT_EQ(w.Widget<QWidget>(f.PicStt).geometry(), w.window->rect());

  easy.click();
  EXPECT_FALSE(w.Widget<QWidget>(f.PicStt).isVisible());
  EXPECT_TRUE(w.Widget<QPushButton>(f.ComSkep).isVisible());
  EXPECT_EQ(w.Widget<QPushButton>(f.ComSkep).text(), "イベント\nスキップ");
  EXPECT_TRUE(w.Text(f.Lbl).contains("ようこそ"));
  // The story font the game names is drawn with the Japanese font installed.
  QFontInfo story(w.Widget<QLabel>(f.Lbl).font());
  EXPECT_EQ(story.family(), "IPAPGothic");
  EXPECT_TRUE(story.bold());

  w.Widget<QPushButton>(f.ComSkep).click();
  EXPECT_FALSE(w.Widget<QPushButton>(f.ComSkep).isVisible());
  for (int i = 1; i <= 4; ++i) EXPECT_TRUE(w.Widget<QPushButton>(f.Com[i]).isVisible()) << i;
  EXPECT_TRUE(w.Text(f.LblGame).startsWith("ここは"));
  for (int i = 0; i <= 4; ++i) {
    EXPECT_FALSE(f.LblStr[i].Caption.empty());
    EXPECT_EQ(w.Text(f.LblStr[i]), QtText(f.LblStr[i].Caption)) << i;
    EXPECT_TRUE(w.Widget<QWidget>(f.ShpStr[i]).isVisible()) << i;
  }
  EXPECT_EQ(w.Text(f.LblDay), "10000星粒");
  EXPECT_EQ(w.Text(f.LblMati), QtText(f.LstMati[0].List(f.MatiNow)));
  for (ListBox* list : {&f.LstMati[0], &f.LstYou[0]}) {
    auto& shown = w.Widget<QListWidget>(*list);
    ASSERT_EQ(shown.count(), 3);
    for (int k = 0; k < 3; ++k) EXPECT_EQ(shown.item(k)->text(), QtText(list->List(k))) << k;
  }

  // The tavern refills the request list; the widget follows.
  w.Widget<QPushButton>(f.Com[3]).click();
  auto& offers = w.Widget<QListWidget>(f.LstIrai);
  ASSERT_EQ(offers.count(), f.LstIrai.ListCount());
  EXPECT_EQ(offers.item(0)->text(), QtText(f.LstIrai.List(0)));
  EXPECT_EQ(w.Text(f.LblDay), QtText(f.LblDay.Caption));
}

TEST(GameWindow, PicturesAreReadByTheirBytesAndStretchedOverTheWholePanel) {
  Window w;
  // The title is a PNG under the data ending: drawn at all only if read by content;
  // its four quarters reach the panel's corners only if stretched both ways.
  EXPECT_EQ(w.PictureAt(0.25, 0.3), QColor(Qt::red));
  EXPECT_EQ(w.PictureAt(0.99, 0.3), QColor(Qt::green));
  EXPECT_EQ(w.PictureAt(0.01, 0.99), QColor(Qt::blue));
  EXPECT_EQ(w.PictureAt(0.99, 0.99), QColor(Qt::yellow));

  w.StartEasyGameInTown();
  EXPECT_EQ(w.PictureAt(0.25, 0.3), QColor(Qt::cyan));
  // A repaint of the panel draws the same picture again, not its background.
  w.Widget<QWidget>(w.fom->Pic).repaint();
  EXPECT_EQ(w.PictureAt(0.99, 0.99), QColor(Qt::darkBlue));
}

// Every layout paints the title picture, as the game's first one must; a
// later resize keeps showing the town or the monster, at the new size. The
// game's own state stays what the runner has after the same resize.
TEST(GameWindow, AResizeShowsThePictureThatWasShownAtTheNewSize) {
  Window w;
  Fom& f = *w.fom;
  QWidget& picture = w.Widget<QWidget>(f.Pic);
  auto resized = [&](QWidget& panel) {
    const QSize before = panel.size();
    w.window->resize(w.window->width() * 3 / 4, w.window->height() * 3 / 4);
    return RunUntil([&] { return panel.size() != before; });
  };
  EXPECT_EQ(w.PictureAt(0.25, 0.3), QColor(Qt::red));
  w.StartEasyGameInTown();
  ASSERT_TRUE(resized(picture));
  EXPECT_EQ(w.PictureAt(0.25, 0.3), QColor(Qt::cyan));
  EXPECT_EQ(w.PictureAt(0.99, 0.99), QColor(Qt::darkBlue));
  EXPECT_EQ(f.Pic.PictureFile, PictureFile("ttl"));

  w.window->Change([&] {
    f.LstMati[0].ListIndex = f.MatiNow == 0 ? 1 : 0;
    f.ChooseTown();
    f.TimDay.SetEnabled(false);
    f.MonsterAppears();
  });
  QWidget& monster = w.Widget<QWidget>(f.PicBtlGrf);
  ASSERT_TRUE(resized(monster));
  QImage shot = monster.grab().toImage();
  EXPECT_EQ(shot.pixelColor(shot.width() / 4, shot.height() / 4), QColor(Qt::cyan));
}

// A box stops the game halfway through what the player did: behind it the
// window already shows what has happened so far, here the town view that
// replaced the tavern.
TEST(GameWindow, WindowBehindAMessageBoxShowsWhatTheGameHoldsByThen) {
  BoxCatcher boxes;
  Window w;
  Fom& f = *w.fom;
  w.StartEasyGameInTown();
  w.Widget<QPushButton>(f.Com[3]).click();
  ASSERT_TRUE(w.Widget<QWidget>(f.PicBar).isVisible());
  bool tavernBehind = true;
  QString message;
  boxes.Looking = [&] {
    tavernBehind = w.Widget<QWidget>(f.PicBar).isVisible();
    message = w.Text(f.LblGame);
  };
  w.window->Change([&] { f.LstMati[0].ListIndex = -1; });
  w.Widget<QPushButton>(f.Com[4]).click();
  ASSERT_EQ(boxes.Texts, QStringList({"行く街を選んで下さい"}));
  EXPECT_FALSE(tavernBehind);
  EXPECT_TRUE(message.startsWith("ここは")) << message.toStdString();
}

TEST(GameWindow, PictureFileIsReadAgainAtEveryRequest) {
  Window w;
  const std::string title = w.data.Path() + PictureFile("ttl");
  std::shared_ptr<const Image> first = w.platform.LoadPicture(title);
  ASSERT_NE(first, nullptr);
  // The same bytes may share one decoding; other bytes under the same name
  // must show the new picture.
  EXPECT_EQ(w.platform.LoadPicture(title), first);
  w.data.WriteBytes(PictureFile("ttl"), kTown);
  std::shared_ptr<const Image> replaced = w.platform.LoadPicture(title);
  ASSERT_NE(replaced, nullptr);
  EXPECT_EQ(dynamic_cast<const QtImage&>(*replaced).Pixels.pixelColor(0, 0), QColor(Qt::cyan));
  w.data.WriteBytes(PictureFile("ttl"), "no picture");
  EXPECT_EQ(w.platform.LoadPicture(title), nullptr);
  EXPECT_EQ(w.platform.LoadPicture(w.data.Path() + PictureFile("none")), nullptr);
}

// The title decoded while the window is built must not hide a file that
// changed before the game asked for it.
TEST(GameWindow, PictureDecodedAheadIsUsedOnlyWhileTheFileHoldsTheSameBytes) {
  Window w;
  const std::string title = w.data.Path() + PictureFile("ttl");
  w.platform.DecodeAhead(title);
  w.data.WriteBytes(PictureFile("ttl"), kTown);
  std::shared_ptr<const Image> replaced = w.platform.LoadPicture(title);
  ASSERT_NE(replaced, nullptr);
  EXPECT_EQ(dynamic_cast<const QtImage&>(*replaced).Pixels.pixelColor(0, 0), QColor(Qt::cyan));

  w.platform.DecodeAhead(title);
  w.data.WriteBytes(PictureFile("ttl"), "no picture");
  EXPECT_EQ(w.platform.LoadPicture(title), nullptr);
  w.data.WriteBytes(PictureFile("ttl"), kTown);
  w.platform.DecodeAhead(title);
  std::shared_ptr<const Image> ahead = w.platform.LoadPicture(title);
  ASSERT_NE(ahead, nullptr);
  EXPECT_EQ(w.platform.LoadPicture(title), ahead) << "the decoding ahead is kept for reuse";
}

using kiravel::testing::SilentWave;

std::pair<std::int32_t, std::string> Status(MusicThread& music) {
  std::string reply(16, ' ');
  std::int32_t result = music.Send("status MIDI mode", &reply);
  return {result, reply};
}

// The music device loads on its own thread while the window is built: the
// open and play the game sends at once must still be carried out in order
// before the timer's status query is answered, and a piece that cannot open
// must leave the game silent with a blank status, as a failed open always did.
TEST(GameWindow, MusicCommandsRunInOrderOnTheMusicThread) {
  // A machine without a sound card still has SDL's silent driver.
  ::setenv("SDL_AUDIODRIVER", "dummy", 1);
  kiravel::testing::DataFolder data;
  data.WriteBytes(kMusicFile, SilentWave(3000));
  {
    MusicThread music(KIRAVEL_SOUND_MODULE_PATH);
    EXPECT_EQ(music.Send("open \"" + data.Path() + std::string(kMusicFile) + "\" alias MIDI", nullptr), 0);
    EXPECT_EQ(music.Send("play MIDI notify", nullptr), 0);
    EXPECT_EQ(Status(music), std::make_pair(0, std::string("playing")));
    EXPECT_EQ(music.Send("close MIDI notify", nullptr), 0);
  }
  MusicThread music(KIRAVEL_SOUND_MODULE_PATH);
  music.Send("open \"" + data.Path() + "none.wav\" alias MIDI", nullptr);
  music.Send("play MIDI notify", nullptr);
  EXPECT_EQ(Status(music), std::make_pair(263, std::string(16, ' ')));
}

// Without its sound module the game runs silent, as without a sound card.
TEST(GameWindow, WithoutTheSoundModuleTheMusicCannotOpen) {
  kiravel::testing::DataFolder data;
  data.WriteBytes(kMusicFile, SilentWave(100));
  MusicThread music(data.Path() + "no-such-module.so");
  music.Send("open \"" + data.Path() + std::string(kMusicFile) + "\" alias MIDI", nullptr);
  EXPECT_EQ(Status(music), std::make_pair(263, std::string(16, ' ')));
  std::string reply;
  EXPECT_EQ(music.Send("open \"" + data.Path() + std::string(kMusicFile) + "\" alias MIDI", &reply), 266);
}

// The music timer no longer looks fifty times a second: the device's report
// of the piece's end runs it, and the piece starts again from its beginning.
TEST(GameWindow, EndOfThePieceStartsItAgain) {
  ::setenv("SDL_AUDIODRIVER", "dummy", 1);
  Window w(Data::ShortMusic);
  EXPECT_EQ(w.window->GameTimers().QtTimer(w.fom->BgmTim)->interval(),
            ModelTimers::kMusicSafetyIntervalMs);
  const std::vector<std::string> restart{"seek MIDI to start", "play MIDI from 0"};
  auto restarts = [&] {
    return std::search(w.platform.sent.begin(), w.platform.sent.end(), restart.begin(),
                       restart.end()) != w.platform.sent.end();
  };
  EXPECT_TRUE(RunUntil(restarts, 10000));
}

TEST(GameWindow, CourierNameIsTypedThroughTheGameWithItsLimits) {
  Window w;
  auto& name = w.Widget<QLineEdit>(w.fom->TxtName);
  EXPECT_EQ(name.text(), "ミンヤ");
  name.selectAll();
  QKeyEvent typing(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, "あいうえおかきくけこ");
  QCoreApplication::sendEvent(&name, &typing);
  EXPECT_EQ(w.fom->TxtName.Text, "あいうえおかきく");
  EXPECT_EQ(name.text(), "あいうえおかきく");

  // A character the save file cannot hold never reaches the game, and the
  // box shows what the game kept.
  name.selectAll();
  QKeyEvent refused(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier,
                    QString::fromUtf8("ミ😀ン"));
  QCoreApplication::sendEvent(&name, &refused);
  EXPECT_EQ(w.fom->TxtName.Text, "ミン");
  EXPECT_EQ(name.text(), "ミン");
}

TEST(GameWindow, EnterAndSpacePressTheFocusedButton) {
  Window w;
  auto& easy = w.Widget<QPushButton>(w.fom->ComStt[0]);
  QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
  QCoreApplication::sendEvent(&easy, &enter);
  EXPECT_FALSE(w.fom->PicStt.Visible);

  auto& skip = w.Widget<QPushButton>(w.fom->ComSkep);
  QKeyEvent spaceDown(QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier, " ");
  QKeyEvent spaceUp(QEvent::KeyRelease, Qt::Key_Space, Qt::NoModifier, " ");
  QCoreApplication::sendEvent(&skip, &spaceDown);
  QCoreApplication::sendEvent(&skip, &spaceUp);
  EXPECT_FALSE(w.fom->ComSkep.Visible);
  EXPECT_TRUE(w.fom->Com[4].Visible);
}

TEST(GameWindow, KeyboardCannotPressWhatTheStartPanelCovers) {
  BoxCatcher boxes;
  Window w;
  // Travelling before a game has begun would ask for a town in a box.
  auto& travel = w.Widget<QPushButton>(w.fom->Com[4]);
  QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
  QCoreApplication::sendEvent(&travel, &enter);
  Settle();
  EXPECT_TRUE(boxes.Texts.isEmpty());
  EXPECT_EQ(w.fom->LblGame.Caption, "LblGame");
  // Focus moves between the start buttons in the window's order.
  EXPECT_EQ(w.Widget<QWidget>(w.fom->ComStt[0]).nextInFocusChain(),
            &w.Widget<QWidget>(w.fom->ComStt[1]));
}

TEST(GameWindow, PanelsLieAboveLabelsTheStoryTextAboveItsShadowTheStartPanelAboveAll) {
  Window w;
  Fom& f = *w.fom;
  QWidget& command = w.Widget<QWidget>(f.Com[1]);
  QPoint middle = command.geometry().center();
  EXPECT_TRUE(Within(w.Widget<QWidget>(f.PicStt), w.window->childAt(middle)));

  w.Widget<QPushButton>(f.ComStt[0]).click();
  QWidget& picture = w.Widget<QWidget>(f.Pic);
  QWidget* top = picture.childAt(picture.rect().center());
  EXPECT_EQ(top, &w.Widget<QWidget>(f.Lbl));

  w.Widget<QPushButton>(f.ComSkep).click();
  w.Widget<QPushButton>(f.Com[3]).click();
  QWidget& bar = w.Widget<QWidget>(f.PicBar);
  ASSERT_TRUE(bar.isVisible());
  EXPECT_TRUE(Within(bar, picture.childAt(bar.geometry().center() + QPoint(1, 1))));
}

TEST(GameWindow, ChoosingATownReachesTheGameAndTravelStartsTheDayClock) {
  Window w;
  Fom& f = *w.fom;
  w.StartEasyGameInTown();
  int other = f.MatiNow == 0 ? 1 : 0;
  w.Widget<QListWidget>(f.LstMati[0]).setCurrentRow(other);
  EXPECT_EQ(f.LstMati[0].ListIndex, other);
  w.Widget<QPushButton>(f.Com[4]).click();
  ASSERT_TRUE(f.TimDay.Enabled());
  const QTimer* day = w.window->GameTimers().QtTimer(f.TimDay);
  ASSERT_NE(day, nullptr);
  EXPECT_TRUE(day->isActive());
  EXPECT_EQ(day->interval(), 100);
  EXPECT_TRUE(RunUntil([&] { return !f.TimDay.Enabled(); }));
  EXPECT_FALSE(day->isActive());
}

TEST(GameWindow, QtTimersFollowEveryWayTheGameSwitchesItsTimers) {
  Window w;
  Timer& battle = w.fom->TimBtl;
  const QTimer& qt = *w.window->GameTimers().QtTimer(battle);
  auto change = [&](const std::function<void()>& what) { w.window->Change(what); };
  change([&] { battle.SetEnabled(true); });
  EXPECT_TRUE(qt.isActive());
  EXPECT_EQ(qt.interval(), 1000);
  change([&] { battle.SetInterval(0); });
  EXPECT_FALSE(qt.isActive());
  change([&] { battle.SetInterval(500); });
  EXPECT_TRUE(qt.isActive());
  EXPECT_EQ(qt.interval(), 500);
  change([&] { battle.SetEnabled(false); });
  EXPECT_FALSE(qt.isActive());
}

TEST(GameWindow, AnEventArrivingWhileAnotherRunsWaitsForItToFinish) {
  Window w;
  std::vector<int> order;
  w.window->Change([&] {
    order.push_back(1);
    w.window->Change([&] { order.push_back(3); });
    order.push_back(2);
  });
  EXPECT_EQ(order, (std::vector<int>{1, 2, 3}));
}

TEST(GameWindow, WindowKeepsFourToThreeAndSurvivesTinyHugeMaximisedAndMinimised) {
  Window w;
  Fom& f = *w.fom;
  QWidget& window = *w.window;
  // The outer frame, not the client area, keeps 4:3; the width follows the height.
  window.resize(300, 500);
  auto fourToThree = [&] {
    QRect frame = window.frameGeometry();
    return std::abs(frame.width() * 3 - frame.height() * 4) <= 4;
  };
  ASSERT_TRUE(RunUntil(fourToThree));
  EXPECT_EQ(window.height(), 500);
  EXPECT_EQ(f.BaseFontSize, window.frameGeometry().height() * 15 / 1000 + 3);

  window.resize(10, 10);
  Settle();
  window.resize(4000, 3000);
  Settle();
  window.showMaximized();
  Settle();
  EXPECT_FALSE(w.platform.SetWindowWidth(3000));
  window.showMinimized();
  Settle();
  EXPECT_FALSE(w.platform.SetWindowLeft(0));
  window.showNormal();
  window.resize(400, 300);
  ASSERT_TRUE(RunUntil([&] { return window.height() == 300 && fourToThree(); }));
  // Laid out again: the command column fills the right quarter.
  QRect column = w.Widget<QWidget>(f.Com[1]).geometry();
  EXPECT_NEAR(column.left(), window.width() * 3 / 4, 2);
  EXPECT_NEAR(column.right(), window.width() - 1, 2);
}

TEST(GameWindow, MissingDataFolderIsToldOnceWithFullPathsAndTheGameStillRuns) {
  BoxCatcher boxes;
  Window w(Data::Missing);
  ASSERT_TRUE(RunUntil([&] { return !boxes.Texts.isEmpty(); }));
  Settle();
  ASSERT_EQ(boxes.Texts.size(), 1);
  EXPECT_TRUE(boxes.Texts[0].contains(QString::fromStdString(w.data.Path() + PictureFile("ttl"))));
  EXPECT_TRUE(boxes.Texts[0].contains(QString::fromStdString(w.data.Path() + TextFolderPath())));
  EXPECT_TRUE(w.window->isVisible());
  EXPECT_TRUE(w.Widget<QWidget>(w.fom->PicStt).isVisible());

  // Without an opening scene the game tells so and goes on.
  w.Widget<QPushButton>(w.fom->ComStt[0]).click();
  Settle();
  ASSERT_GE(boxes.Texts.size(), 2);
  EXPECT_EQ(boxes.Texts[1], QtText("シナリオ「" + TextFile("opn") + "」を開けません。"));
  EXPECT_TRUE(w.window->isVisible());
}

TEST(GameWindow, UnreadableTitlePictureIsToldInTheOpeningBox) {
  BoxCatcher boxes;
  Window w(Data::BrokenTitle);
  ASSERT_TRUE(RunUntil([&] { return !boxes.Texts.isEmpty(); }));
  Settle();
  ASSERT_EQ(boxes.Texts.size(), 1);
  EXPECT_TRUE(boxes.Texts[0].contains(QtText(PictureFile("ttl")))) << boxes.Texts[0].toStdString();
}

// A pipe has no end to read to: the picture thread must refuse it rather
// than wait for a writer, or the window never opens.
TEST(GameWindow, PipeInPlaceOfTheTitlePictureIsToldNotWaitedFor) {
  BoxCatcher boxes;
  Window w(Data::PipeTitle);
  ASSERT_TRUE(RunUntil([&] { return !boxes.Texts.isEmpty(); }));
  ASSERT_EQ(boxes.Texts.size(), 1);
  EXPECT_TRUE(boxes.Texts[0].contains(QtText(PictureFile("ttl")))) << boxes.Texts[0].toStdString();
  EXPECT_TRUE(w.window->isVisible());
}

TEST(GameWindow, PopupMenuShowsTheTreeBelowTheHiddenRootAndReturnsTheChoice) {
  Window w;
  Fom& f = *w.fom;
  f.menu_sis.Enabled = false;
  QStringList shown;
  bool systemEnabled = true;
  QTimer chooser;
  chooser.callOnTimeout([&] {
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    if (menu == nullptr) return;
    for (QAction* action : menu->actions()) {
      shown.append(action->text());
      if (action->text() == "システム") systemEnabled = action->isEnabled();
    }
    menu->setActiveAction(menu->actions().last());
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QCoreApplication::sendEvent(menu, &enter);
  });
  chooser.start(5);
  const MenuItem* chosen = w.platform.PopupMenu(f.menu);
  EXPECT_EQ(shown, QStringList({"文章", "システム", "バージョン"}));
  EXPECT_FALSE(systemEnabled);
  EXPECT_EQ(chosen, &f.menu_ver);
}

TEST(GameWindow, StrayEnterOnTheStartOverQuestionKeepsTheGameAndQtSpeaksJapanese) {
  BoxCatcher boxes;
  Window w;
  Fom& f = *w.fom;
  w.StartEasyGameInTown();
  w.window->Click(f.Pic);
  ASSERT_EQ(boxes.Texts, QStringList({"初期化しますか？"}));
  EXPECT_EQ(boxes.Buttons, QStringList({"はい/いいえ"}));
  EXPECT_EQ(boxes.Chosen, QStringList({"いいえ"}));
  EXPECT_FALSE(f.PicStt.Visible);

  f.LstMati[0].ListIndex = -1;
  w.Widget<QPushButton>(f.Com[4]).click();
  EXPECT_EQ(boxes.Buttons.last(), "OK");
}

TEST(GameWindow, ClosingAsksOnlyWhenTheJourneyWouldBeLostAndNoKeepsTheWindow) {
  {
    BoxCatcher boxes;
    Window fromStartPanel;
    EXPECT_TRUE(fromStartPanel.window->close());
    EXPECT_TRUE(boxes.Texts.isEmpty());
  }
  {
    BoxCatcher boxes;
    Window unchanged;
    unchanged.StartEasyGameInTown();
    EXPECT_TRUE(unchanged.window->close()) << "nothing has happened since the start";
    EXPECT_TRUE(boxes.Texts.isEmpty());
  }
  BoxCatcher stays;
  Window w;
  w.StartEasyGameInTown();
  w.Widget<QPushButton>(w.fom->Com[3]).click();
  EXPECT_FALSE(w.window->close());
  ASSERT_EQ(stays.Texts, QStringList({"旅の途中です。ゲームを終了しますか？"}));
  EXPECT_EQ(stays.Chosen, QStringList({"いいえ"}));
  EXPECT_TRUE(w.window->isVisible());
  w.Widget<QPushButton>(w.fom->Com[3]).click();
  EXPECT_TRUE(w.fom->PicBar.Visible) << "the game goes on";

  stays.Answer = QMessageBox::Yes;
  EXPECT_TRUE(w.window->close());
  EXPECT_FALSE(w.window->isVisible());
}

TEST(GameWindow, TabStaysOnTheStartPanelAndLaterSkipsHiddenAndIdlePanels) {
  Window w;
  Fom& f = *w.fom;
  Activate(w);
  Press(Qt::Key_Tab);
  EXPECT_TRUE(Focused(w, f.ComStt[0]));
  QWidget& startPanel = w.Widget<QWidget>(f.PicStt);
  for (int i = 0; i < 12; ++i) {
    Press(Qt::Key_Tab);
    EXPECT_TRUE(Within(startPanel, QApplication::focusWidget())) << "tab " << i;
  }
  EXPECT_EQ(f.TxtName.Text, "ミンヤ");

  w.StartEasyGameInTown();
  for (int i = 0; i < 30; ++i) {
    Press(Qt::Key_Tab);
    QWidget* focus = QApplication::focusWidget();
    ASSERT_NE(focus, nullptr);
    EXPECT_TRUE(focus->isVisible()) << "tab " << i;
    for (const PictureBox* idle : {&f.PicStr, &f.E, &f.PicBtl, &f.PicBtlStr, &f.PicBar}) {
      EXPECT_NE(focus, w.window->WidgetOf(*idle)) << idle->Id();
    }
  }
}

TEST(GameWindow, PageKeysAndTheWheelReadASceneOnWithoutAskingToStartOver) {
  BoxCatcher boxes;
  Window w;
  Fom& f = *w.fom;
  w.data.WriteScript("opn", {"一", "二", "三", "四", "五", "六", "七", "tugi"});
  w.window->Change([&] { f.TimSay.SetInterval(0); });
  Activate(w);
  w.Widget<QPushButton>(f.ComStt[0]).click();
  ASSERT_TRUE(w.Text(f.Lbl).contains("一"));
  EXPECT_TRUE(Focused(w, f.Pic));
  const std::vector<std::pair<Qt::Key, QString>> keys = {
      {Qt::Key_Space, " "}, {Qt::Key_Return, "\r"}, {Qt::Key_Right, ""}, {Qt::Key_Down, ""}};
  const QStringList lines = {"二", "三", "四", "五", "六", "七"};
  for (std::size_t k = 0; k < keys.size(); ++k) {
    Press(keys[k].first, keys[k].second);
    EXPECT_TRUE(w.Text(f.Lbl).contains(lines[static_cast<int>(k)])) << k;
  }
  Press(Qt::Key_PageDown);  // a new page
  EXPECT_TRUE(w.Text(f.Lbl).contains("六"));
  QWheelEvent wheel(QPointF(5, 5), QPointF(5, 5), QPoint(), QPoint(0, -120), Qt::NoButton,
                    Qt::NoModifier, Qt::NoScrollPhase, false);
  // Over the text the wheel is left to the window: the labels and the
  // picture do not take it.
  QCoreApplication::sendEvent(w.window.get(), &wheel);
  EXPECT_TRUE(w.Text(f.Lbl).contains("七"));
  Press(Qt::Key_Down);  // the scene's end
  EXPECT_FALSE(f.Lbl.Visible);
  Press(Qt::Key_Down);
  Press(Qt::Key_PageDown);
  Settle();
  EXPECT_TRUE(boxes.Texts.isEmpty());
}

TEST(GameWindow, BattleGivesTheFluteTheFocusAndArrivalGivesItBackToTheCommands) {
  Window w;
  Fom& f = *w.fom;
  Activate(w);
  w.StartEasyGameInTown();
  w.window->Change([&] {
    f.LstMati[0].ListIndex = f.MatiNow;
    f.ChooseTown();
    f.TimDay.SetEnabled(false);
    f.MonsterAppears();
  });
  EXPECT_TRUE(Focused(w, f.ComBtl));
  w.window->Change([&] { f.MonsterDriven(); });
  Press(Qt::Key_Space, " ");
  ASSERT_FALSE(f.PicBtl.Visible);
  w.window->Change([&] {
    f.TimDay.SetEnabled(false);
    f.EnterTown();
  });
  QWidget* focus = QApplication::focusWidget();
  bool onACommand = false;
  for (int i = 0; i <= 4; ++i) onACommand = onACommand || focus == w.window->WidgetOf(f.Com[i]);
  EXPECT_TRUE(onACommand);
}

// The frame lies round the outside of the focused control: the town's
// message, the list items and the name start at the control's very edge,
// and none of their text may be hidden.
TEST(GameWindow, EveryFocusedControlShowsAFrameRoundItAndSpaceClicksAPanel) {
  BoxCatcher boxes;
  Window w;
  Fom& f = *w.fom;
  Activate(w);
  w.StartEasyGameInTown();
  // The colour the window shows x pixels right of the control's left edge,
  // halfway down it.
  auto colourAt = [&](const Control& control, int x) {
    QWidget& widget = *w.window->WidgetOf(control);
    QPoint at = widget.mapTo(w.window.get(), QPoint(x, widget.height() / 2));
    return w.window->grab().toImage().pixelColor(at);
  };
  const QColor light(255, 200, 0);
  const QColor dark(20, 20, 120);
  const std::vector<const Control*> controls = {&f.Com[1], &f.LstMati[0], &f.TxtName, &f.Pic};
  w.Widget<QWidget>(f.Com[2]).setFocus();
  Settle();
  for (const Control* control : controls) EXPECT_NE(colourAt(*control, -4), light) << control->Id();
  for (const Control* control : controls) {
    w.window->WidgetOf(*control)->setFocus();
    Settle();
    EXPECT_EQ(colourAt(*control, -4), light) << control->Id();
    EXPECT_EQ(colourAt(*control, -2), dark) << control->Id();
    for (int x = 0; x < 4; ++x) {
      EXPECT_NE(colourAt(*control, x), light) << control->Id() << " at " << x;
      EXPECT_NE(colourAt(*control, x), dark) << control->Id() << " at " << x;
    }
  }
  Press(Qt::Key_Space, " ");
  Settle();
  EXPECT_EQ(boxes.Texts, QStringList({"初期化しますか？"}));
}

TEST(GameWindow, NumbersWithAPointReadTheSameUnderAGermanLocale) {
  BoxCatcher boxes;
  Window w;
  Fom& f = *w.fom;
  w.Widget<QPushButton>(f.ComStt[1]).click();
  w.Widget<QPushButton>(f.ComSkep).click();
  w.window->Change([&] { f.SaveGame(); });
  std::string scalars = w.data.Read(SaveFolderPath() + DataFileName("save"));
  scalars.replace(scalars.find(" 10000 "), 7, " 10000.6 ");
  w.data.WriteBytes(SaveFolderPath() + DataFileName("save"), scalars);

  const std::string before = setlocale(LC_NUMERIC, nullptr);
  ASSERT_NE(setlocale(LC_NUMERIC, "de_DE.UTF-8"), nullptr)
      << "the German locale is made by tools/build.sh";
  EXPECT_EQ(Val("2.5"), 2.5);
  EXPECT_EQ(Val(" -1.25e1x"), -12.5);
  w.window->Change([&] { f.LoadGame(); });
  EXPECT_EQ(f.Money, 10001);
  setlocale(LC_NUMERIC, before.c_str());
}

// Relative luminance of a colour, 0 for black to 1 for white.
double Luminance(QColor colour) {
  auto channel = [](double v) { return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4); };
  return 0.2126 * channel(colour.redF()) + 0.7152 * channel(colour.greenF()) +
         0.0722 * channel(colour.blueF());
}

// The story and the town's messages are black, written from the top of the
// picture (the messages from its top-left corner) down to a full page.
TEST(GameWindow, BundledPicturesLeaveTheTextWrittenOverThemLegible) {
  Window w;
  Fom& f = *w.fom;
  const double textDepth = 0.4;
  ASSERT_EQ(f.Lbl.ForeColor, 0x000000U);
  ASSERT_EQ(f.LblGame.ForeColor, 0x000000U);
  int pictures = 0;
  for (const auto& entry : std::filesystem::directory_iterator(KIRAVEL_GAME_DIR "/img")) {
    const std::string name = entry.path().stem().string();
    if (name.starts_with("mon")) continue;  // the battle panel's, with no text over it
    QImage picture(QString::fromStdString(entry.path().string()));
    ASSERT_FALSE(picture.isNull()) << name;
    ++pictures;
    std::vector<double> light;
    for (int y = 0; y < picture.height() * textDepth; y += 3) {
      for (int x = 0; x < picture.width(); x += 3) light.push_back(Luminance(picture.pixelColor(x, y)));
    }
    std::sort(light.begin(), light.end());
    // Black on the darkest twentieth of the text's ground still stands out
    // four and a half times over.
    const double darkest = light[light.size() / 20];
    EXPECT_GE((darkest + 0.05) / 0.05, 4.5) << name;
  }
  EXPECT_GT(pictures, 10);
}

}  // namespace
}  // namespace kiravel::qt

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  ::testing::AddGlobalTestEnvironment(new kiravel::qt::QtApplication(argc, argv));
  return RUN_ALL_TESTS();
}
