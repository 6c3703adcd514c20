// The game's one window on the screen: a widget for each control of Fom,
// the game's procedures run for what the player does, one event at a time,
// and after each event the widgets brought in line with what changed.
#pragma once

#include <QWidget>

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "app/kiravel/focus_ring.h"
#include "app/kiravel/model_timers.h"
#include "app/kiravel/qt_platform.h"
#include "app/kiravel/story_reading.h"
#include "app/kiravel/screen_reader.h"
#include "app/kiravel/views.h"
#include "app/kiravel/window_preferences.h"
#include "core/fom.h"
#include "scenario/command.h"
#include "scenario/opening.h"
#include "scenario/recorder.h"

namespace kiravel::qt {

class GameWindow : public QWidget, public PlayerInput, private scenario::Opening {
 public:
  GameWindow(Fom& fom, QtPlatform& platform);
  ~GameWindow() override;

  // Opens as every front end does; the box about what the opening missed
  // comes once the window is on the screen.
  void Open();

  // The widget that shows the control, or null for one that is not drawn.
  QWidget* WidgetOf(const Control& control) const;
  const ModelTimers& GameTimers() const { return timers_; }

  // From now on every event that reaches the game is written to the
  // recorder as a scenario line, starting with the seed of the draws.
  void RecordTo(scenario::Recorder& recorder);

  void Click(const Control& control) override;
  void KeyClick(const Control& control) override;
  void Select(ListBox& list, int index) override;
  void Type(TextBox& box, const std::string& text) override;
  // One tick of the timer, as its Qt timer delivers it.
  void Tick(const TimerBinding& timer);
  // Slow battles: the monster's timer runs kSlowBattleFactor times slower.
  void SlowBattles(bool slow);
  // kiravel --scene: a fresh easy game playing the scene, as one event.
  void PreviewScene(const std::string& name);
  // Runs a change to the game as one event of the window.
  void Change(const std::function<void()>& change);
  // An event of the game is running (a message box or the menu is open).
  bool Busy() const { return busy_; }
  // The history, the auto-advance and the fast-forward.
  StoryReading& Reading() { return *reading_; }

 protected:
  void resizeEvent(QResizeEvent* event) override;
  void moveEvent(QMoveEvent* event) override;
  void changeEvent(QEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  // While a scene shows, the keys and the wheel that turn a page elsewhere
  // read on as a click on the text does.
  void keyPressEvent(QKeyEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;

 private:
  // Runs one event of the game to completion, then shows what it changed.
  // An event that arrives while another runs (a message box or the menu is
  // open) waits for it.
  void Run(const std::function<void()>& event);
  void RunOne(const std::function<void()>& event);
  void RunEvent(const std::function<void()>& event) override;
  void ShowFirst() override;
  std::vector<std::string> UntoldFailures() override;
  void Tell(const std::string& notice) override;
  // The click, with the widget the popup menu opens under (null: at the
  // mouse pointer).
  void Press(const Control& control, QWidget* popUpUnder);
  void ResizeGame();
  void FrameChanged();
  void FitScreen();
  void KeepShownPicture(const PictureBox& panel);
  void MusicEnded();
  // The event now running reaches the game as these commands.
  void Playing(scenario::Command command);
  // What the event began, for the history: a new game, a load or neither.
  std::optional<StoryHistory::Kind> Recorded();
  void Sync();
  void CreateMissingViews();
  bool StackingChanged();
  void Restack();
  void SetFocusOrder();
  void FollowFocus();
  void CoverFocus();
  void FocusOn(const Control& control);
  void FocusFirstCommand();
  void ReadOn();
  QWidget* ContainerWidget(const Control* container);

  Fom& fom_;
  QtPlatform& platform_;
  ModelTimers timers_;
  FocusRing* focusRing_;
  StoryReading* reading_;
  ScreenReader screenReader_;
  // Every control seen, with its view; null for controls that are not drawn.
  std::unordered_map<const Control*, View*> views_;
  // The drawn controls in the order of the window description.
  std::vector<std::pair<const PlacedControl*, View*>> drawn_;
  std::vector<int> zOrders_;
  std::deque<std::function<void()>> waiting_;
  scenario::Recorder* recorder_ = nullptr;
  std::vector<scenario::Command> playing_;
  std::optional<std::pair<std::int32_t, std::int32_t>> frame_;
  std::optional<double> pixel_;
  bool loaded_ = false;
  bool busy_ = false;
  bool closed_ = false;
  bool resizeWaiting_ = false;
  // What the player faces, which the keyboard focus follows.
  enum class Facing { StartPanel, Scene, Battle, Road, Town };
  Facing Faces();
  std::optional<Facing> facing_;
  // Set when the game has moved the focus: a key held down since then
  // repeats on a control it was never pressed on.
  bool heldKeyStale_ = false;
  // The focus policy each widget has while the start panel does not cover it.
  std::unordered_map<QWidget*, Qt::FocusPolicy> ownFocus_;
  std::optional<std::string> caption_;
  std::optional<Colour> background_;
};

}  // namespace kiravel::qt
