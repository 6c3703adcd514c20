// Where the keys land: the keyboard focus follows what the player faces,
// a key held down across a change acts on nothing new, and the lists, the
// start panel and the popup menu answer the keys alone.
#include <gtest/gtest.h>

#include <QCursor>
#include <QKeyEvent>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QTimer>

#include "app/kiravel/window_fixture.h"

namespace kiravel::qt {
namespace {

// The first scene of every story line, which a new game's towns offer.
void WriteFirstScenes(Window& w) {
  for (const char* scene : {"00", "10", "20"}) w.data.WriteScript(scene, {"森で", "tugi"});
}

bool OnAStartButton(Window& w) {
  for (int i = 0; i < 3; ++i) {
    if (Focused(w, w.fom->ComStt[i])) return true;
  }
  return false;
}

// An ending read with Space leaves nothing chosen on the start panel, so
// one more Space starts no game; moving onto a start button and pressing
// it starts one whose opening takes the keys at once.
TEST(Keyboard, StartPanelChoosesNoButtonUntilThePlayerMovesOntoOne) {
  BoxCatcher boxes;
  Window w;
  Fom& f = *w.fom;
  w.data.WriteScript("badend_day", {"おわり", ">end"});
  Activate(w);
  EXPECT_FALSE(OnAStartButton(w)) << "the window opens with nothing chosen";
  w.StartEasyGameInTown();
  w.window->Change([&] { f.AddStatus(4, 400); });
  ASSERT_TRUE(f.Lbl.Shown()) << "the year has run out";
  for (int i = 0; i < 5 && !f.PicStt.Visible; ++i) Press(Qt::Key_Space, " ");
  ASSERT_TRUE(f.PicStt.Visible);
  EXPECT_FALSE(OnAStartButton(w));
  Press(Qt::Key_Space, " ");
  EXPECT_TRUE(f.PicStt.Visible) << "a key pressed after the ending starts no game";

  Press(Qt::Key_Down);
  EXPECT_TRUE(Focused(w, f.ComStt[0]));
  Press(Qt::Key_Space, " ");
  ASSERT_FALSE(f.PicStt.Visible);
  ASSERT_TRUE(f.Lbl.Shown());
  EXPECT_TRUE(Focused(w, f.Pic)) << "the opening takes the keys";
  Press(Qt::Key_Space, " ");
  EXPECT_FALSE(f.Lbl.Shown()) << "Space reads the opening on";
}

// Once a scene in a town is over the keys go to the commands, never to the
// picture, where Space would ask to start over.
TEST(Keyboard, SceneEndGivesTheFocusToTheFirstCommandShown) {
  BoxCatcher boxes;
  Window w;
  Fom& f = *w.fom;
  WriteFirstScenes(w);
  Activate(w);
  w.StartEasyGameInTown();
  ASSERT_TRUE(f.Com[0].Visible) << "the first town has a scene waiting";
  w.Widget<QPushButton>(f.Com[0]).setFocus();
  Press(Qt::Key_Space, " ");
  ASSERT_TRUE(f.Lbl.Shown());
  ASSERT_TRUE(Focused(w, f.Pic));
  Press(Qt::Key_Space, " ");
  ASSERT_FALSE(f.Lbl.Shown());
  ASSERT_FALSE(f.Com[0].Visible) << "the story line has no second scene";
  EXPECT_TRUE(Focused(w, f.Com[1]));
  EXPECT_TRUE(boxes.Texts.isEmpty());
}

// Back from the road the focus rests on the rumours, not on a waiting
// scene; a key held down since the battle repeats onto it and does nothing,
// while a fresh press acts.
TEST(Keyboard, ArrivalRestsTheFocusOnTheRumoursAndAHeldKeyActsOnNothingNew) {
  BoxCatcher boxes;
  Window w;
  Fom& f = *w.fom;
  WriteFirstScenes(w);
  Activate(w);
  w.StartEasyGameInTown();
  w.window->Change([&] {
    f.LstMati[0].ListIndex = f.MatiNow == 0 ? 1 : 0;
    f.ChooseTown();
    f.TimDay.SetEnabled(false);
    f.MonsterAppears();
  });
  ASSERT_TRUE(Focused(w, f.ComBtl));
  w.window->Change([&] { f.MonsterDriven(); });
  Press(Qt::Key_Space, " ");
  ASSERT_FALSE(f.PicBtl.Visible);
  w.window->Change([&] {
    f.TimDay.SetEnabled(false);
    f.MatiNow = f.MatiGo;
    f.EnterTown();
  });
  ASSERT_TRUE(f.Com[0].Visible);
  EXPECT_TRUE(Focused(w, f.Com[2]));

  const std::int16_t day = f.StrVal[4];
  QKeyEvent held(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, "\r", true);
  QCoreApplication::sendEvent(QApplication::focusWidget(), &held);
  EXPECT_EQ(f.StrVal[4], day) << "a repeat of the held key acts on nothing";
  EXPECT_FALSE(f.Lbl.Shown());
  Press(Qt::Key_Return, "\r");
  EXPECT_EQ(f.StrVal[4], day + 1) << "a fresh press hears the rumours";
}

// Notes where the popup menu opens, and closes it.
class MenuWatcher {
 public:
  MenuWatcher() {
    timer_.callOnTimeout([this] {
      auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
      if (menu == nullptr) return;
      At.push_back(menu->pos());
      menu->close();
    });
    timer_.start(5);
  }
  std::vector<QPoint> At;

 private:
  QTimer timer_;
};

TEST(Keyboard, PopupMenuOpenedByAKeyOpensUnderTheMenuButtonAndByAClickAtThePointer) {
  Window w;
  Fom& f = *w.fom;
  Activate(w);
  w.StartEasyGameInTown();
  w.Widget<QPushButton>(f.Com[3]).click();
  auto& menuButton = w.Widget<QPushButton>(f.MenuCom);
  ASSERT_TRUE(menuButton.isVisible());
  MenuWatcher menus;
  for (const auto& [key, text] : {std::pair(Qt::Key_Space, " "), std::pair(Qt::Key_Return, "\r")}) {
    Activate(w);
    menuButton.setFocus();
    Press(key, text);
  }
  const QPoint under = menuButton.mapToGlobal(QPoint(0, menuButton.height()));
  ASSERT_EQ(menus.At.size(), 2u);
  EXPECT_EQ(menus.At[0], under);
  EXPECT_EQ(menus.At[1], under);

  QCursor::setPos(QPoint(20, 30));
  menuButton.click();
  ASSERT_EQ(menus.At.size(), 3u);
  EXPECT_EQ(menus.At[2], QCursor::pos());
}

// The selected position after a key, starting from nothing selected.
int AfterKey(Window& w, ListBox& list, Qt::Key key) {
  w.window->Change([&] { list.ListIndex = -1; });
  w.Widget<QListWidget>(list).setFocus();
  Press(key);
  return list.ListIndex;
}

TEST(Keyboard, ListsAreUsedByTheArrowsAloneEvenWithOneItem) {
  Window w;
  Fom& f = *w.fom;
  Activate(w);
  w.StartEasyGameInTown();
  ListBox& towns = f.LstMati[0];
  ASSERT_EQ(towns.ListCount(), 3);
  EXPECT_EQ(AfterKey(w, towns, Qt::Key_Down), 0);
  EXPECT_EQ(AfterKey(w, towns, Qt::Key_Home), 0);
  EXPECT_EQ(AfterKey(w, towns, Qt::Key_End), 2);
  EXPECT_EQ(AfterKey(w, towns, Qt::Key_Up), 2);
  Press(Qt::Key_Up);
  EXPECT_EQ(towns.ListIndex, 1);
  Press(Qt::Key_Home);
  EXPECT_EQ(towns.ListIndex, 0);
  Press(Qt::Key_Up);
  EXPECT_EQ(towns.ListIndex, 0) << "the first item stays chosen";

  w.Widget<QPushButton>(f.Com[3]).click();
  w.window->Change([&] {
    while (f.LstIrai.ListCount() > 1) f.LstIrai.RemoveItem(0);
  });
  for (Qt::Key key : {Qt::Key_Down, Qt::Key_Up, Qt::Key_Home, Qt::Key_End}) {
    EXPECT_EQ(AfterKey(w, f.LstIrai, key), 0) << key;
  }
}

}  // namespace
}  // namespace kiravel::qt
