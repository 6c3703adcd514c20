#include "app/kiravel/game_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QScreen>
#include <QTimer>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>
#include <exception>
#include <tuple>

#include "core/town_commands.h"
#include "scenario/reach.h"
#include "ui/handlers.h"

namespace kiravel::qt {

namespace {

// Labels and shapes lie beneath the panels, buttons, lists and text boxes
// of their container.
bool LiesBeneath(const Control& control) {
  return control.Kind == ControlKind::Label || control.Kind == ControlKind::Shape;
}

}  // namespace

GameWindow::GameWindow(Fom& fom, QtPlatform& platform)
    : fom_(fom), platform_(platform),
      timers_(fom, [this](const TimerBinding& timer) { Tick(timer); }, this),
      focusRing_(new FocusRing(*this)), reading_(new StoryReading(*this, fom_)),
      screenReader_(fom, *this, *this, [this](const Control& control) {
        auto found = views_.find(&control);
        return found == views_.end() ? nullptr : found->second;
      }) {
  setAutoFillBackground(true);
  double twipsPerPixel = platform_.TwipsPerPixel();
  resize(static_cast<int>(std::lround(fom_.fom.WidthTwips / twipsPerPixel)),
         static_cast<int>(std::lround(fom_.fom.HeightTwips / twipsPerPixel)));
  // The report comes from the music thread; the music timer runs on this one.
  platform_.OnMusicEnded([this] {
    QMetaObject::invokeMethod(this, [this] { MusicEnded(); }, Qt::QueuedConnection);
  });
  // A box stops the game halfway through what the player did: the window
  // behind it already shows what has happened so far.
  platform_.OnBoxOpening([this](const std::string& text) {
    Sync();
    reading_->BoxOpening();
    screenReader_.BoxOpening(text);
  });
  qApp->installEventFilter(this);
}

GameWindow::~GameWindow() {
  // The platform outlives the window: it must not ask a window that is gone.
  platform_.Attach(nullptr);
  platform_.OnBoxOpening(nullptr);
  platform_.OnMusicEnded(nullptr);
  platform_.OnAnswered(nullptr);
}

void GameWindow::Open() {
  platform_.Attach(this);
  platform_.HoldFailures();
  scenario::OpenWindow(fom_, *this);
}

void GameWindow::RunEvent(const std::function<void()>& event) { Run(event); }

void GameWindow::ShowFirst() {
  loaded_ = true;
  show();
}

std::vector<std::string> GameWindow::UntoldFailures() { return platform_.ReleaseFailures(); }

// The box comes once the window is on the screen, over it.
void GameWindow::Tell(const std::string& notice) {
  QTimer::singleShot(0, this, [this, notice] {
    Run([this, notice] { platform_.ReportFailure(notice); });
  });
}

QWidget* GameWindow::WidgetOf(const Control& control) const {
  auto found = views_.find(&control);
  return found == views_.end() || found->second == nullptr ? nullptr : &found->second->Widget();
}

void GameWindow::RecordTo(scenario::Recorder& recorder) {
  recorder_ = &recorder;
  recorder.Played(scenario::Seed{platform_.Seed()});
  platform_.OnAnswered([this](MsgBoxAnswer answer) {
    if (recorder_ != nullptr) recorder_->Answered(answer);
  });
}

void GameWindow::Click(const Control& control) { Press(control, nullptr); }

void GameWindow::KeyClick(const Control& control) { Press(control, WidgetOf(control)); }

void GameWindow::Press(const Control& control, QWidget* popUpUnder) {
  const ClickBinding* binding = FindClick(control.Name);
  if (binding == nullptr || reading_->HistoryOpen()) return;
  Run([this, binding, &control, popUpUnder] {
    // What the runner would refuse, the window does not deliver.
    if (!scenario::WhyOutOfReach(control, fom_).empty()) return;
    Playing(scenario::Click{control.Id()});
    platform_.PopUpUnder(popUpUnder);
    binding->click(fom_, control.Index);
    platform_.PopUpUnder(nullptr);
  });
}

void GameWindow::Select(ListBox& list, int index) {
  Run([this, &list, index] {
    Playing(scenario::Select{list.Id(), std::to_string(index), index});
    list.ListIndex = index;
  });
}

void GameWindow::Type(TextBox& box, const std::string& text) {
  Run([this, &box, text] {
    Playing(scenario::Type{box.Id(), text});
    box.Type(text);
  });
}

void GameWindow::SlowBattles(bool slow) { timers_.Stretch(fom_.TimBtl, slow ? kSlowBattleFactor : 1); }

void GameWindow::PreviewScene(const std::string& name) {
  Run([this, name] {
    Playing(scenario::Scene{name});
    fom_.PreviewScene(name);
  });
}

void GameWindow::Change(const std::function<void()>& change) { Run(change); }

void GameWindow::resizeEvent(QResizeEvent*) {
  if (!loaded_) return;
  // Form_Resize sizes the window itself; a resize it causes is run again
  // once it has finished, which changes nothing more.
  if (busy_) {
    resizeWaiting_ = true;
    return;
  }
  ResizeGame();
}

void GameWindow::moveEvent(QMoveEvent*) { FrameChanged(); }

void GameWindow::changeEvent(QEvent* event) {
  QWidget::changeEvent(event);
  if (event->type() == QEvent::ActivationChange) FrameChanged();
}

// The desktop puts its frame round the window only once the window is on
// the screen, and tells so when it moves or activates it: the game fits the
// window to the screen again, frame included.
void GameWindow::FrameChanged() {
  if (!loaded_ || busy_ || !frame_) return;
  WindowPlace place = platform_.Window();
  if (std::make_pair(place.Width - place.ClientWidth, place.Height - place.ClientHeight) != *frame_) {
    ResizeGame();
  }
}

// The game lays itself out for the window's outer height on this screen.
// Its layout paints the title picture; after the first one, the picture the
// player was looking at stays, at the new size.
void GameWindow::ResizeGame() {
  FitScreen();
  Run([this] {
    WindowPlace place = platform_.Window();
    if (Changed(pixel_, platform_.TwipsPerPixel())) Playing(scenario::Pixel{*pixel_});
    if (Changed(frame_, {place.Width - place.ClientWidth, place.Height - place.ClientHeight})) {
      Playing(scenario::Frame{frame_->first, frame_->second});
    }
    Playing(scenario::Resize{place.Height, platform_.Screen()});
    fom_.Form_Resize();
    KeepShownPicture(fom_.Pic);
    KeepShownPicture(fom_.PicBtlGrf);
  });
}

// The whole window, frame included, stays on the part of the screen it may
// cover: a size remembered from a larger screen, or one the screen's scale
// makes too large, is shrunk to the tallest that fits, at 4:3.
void GameWindow::FitScreen() {
  if (isMinimized() || isMaximized() || isFullScreen() || screen() == nullptr) return;
  const QRect area = screen()->availableGeometry();
  const QRect outer = frameGeometry();
  const int tallest = std::min(area.height(), area.width() * 3 / 4);
  if (outer.height() <= tallest) return;
  const QSize frame = outer.size() - size();
  const QSize fitted(tallest * 4 / 3 - frame.width(), tallest - frame.height());
  if (fitted.height() > 0) resize(fitted);
}

void GameWindow::KeepShownPicture(const PictureBox& panel) {
  auto found = views_.find(&panel);
  if (found == views_.end()) return;
  if (auto* view = dynamic_cast<PanelView*>(found->second)) view->KeepShownPicture();
}

void GameWindow::closeEvent(QCloseEvent* event) {
  if (busy_) {
    event->ignore();
    return;
  }
  // The question about the journey and the unloading are one event: the
  // answer that lets the window close is recorded before the close.
  std::int16_t cancel = 0;
  Run([this, &cancel] {
    fom_.Form_QueryUnload(cancel);
    if (cancel != 0) return;
    Playing(scenario::Close{});
    fom_.Form_Unload();
  });
  if (cancel != 0) {
    event->ignore();
    return;
  }
  closed_ = true;
  timers_.StopAll();
  reading_->KeepReadPages();
  event->accept();
}

void GameWindow::keyPressEvent(QKeyEvent* event) {
  if (reading_->Key(*event)) return;
  if (facing_ == Facing::StartPanel) {
    // Nothing is chosen on the start panel until the player moves onto a
    // start button.
    switch (event->key()) {
      case Qt::Key_Down:
      case Qt::Key_Right:
        FocusOn(fom_.ComStt[0]);
        return;
      case Qt::Key_Up:
      case Qt::Key_Left:
        FocusOn(fom_.ComStt[2]);
        return;
      default:
        QWidget::keyPressEvent(event);
        return;
    }
  }
  switch (event->key()) {
    case Qt::Key_Space:
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Right:
    case Qt::Key_Down:
    case Qt::Key_PageDown:
      ReadOn();
      return;
    default:
      QWidget::keyPressEvent(event);
  }
}

void GameWindow::wheelEvent(QWheelEvent* event) {
  if (event->angleDelta().y() < 0) ReadOn();
  if (event->angleDelta().y() > 0) reading_->WheelUp();
}

// Outside a scene these keys do nothing here: they never ask to start over.
void GameWindow::ReadOn() {
  if (fom_.Lbl.Shown()) Click(fom_.Lbl);
}

void GameWindow::Run(const std::function<void()>& event) {
  if (closed_) return;
  if (busy_) {
    waiting_.push_back(event);
    return;
  }
  busy_ = true;
  RunOne(event);
  while (!waiting_.empty()) {
    std::function<void()> next = std::move(waiting_.front());
    waiting_.pop_front();
    RunOne(next);
  }
  busy_ = false;
  if (resizeWaiting_) {
    resizeWaiting_ = false;
    QTimer::singleShot(0, this, [this] { ResizeGame(); });
  }
}

// A key held down across a change the game made repeats on whatever took
// the focus: its repeats are dropped until a key is pressed afresh.
bool GameWindow::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::KeyPress && event->type() != QEvent::KeyRelease) return false;
  auto* widget = qobject_cast<QWidget*>(watched);
  if (widget == nullptr || (widget != this && !isAncestorOf(widget))) return false;
  const auto* key = static_cast<const QKeyEvent*>(event);
  if (key->key() == Qt::Key_Control && !key->isAutoRepeat()) {
    reading_->CtrlHeld(event->type() == QEvent::KeyPress);
  }
  if (key->isAutoRepeat()) return heldKeyStale_;
  if (event->type() == QEvent::KeyPress) heldKeyStale_ = false;
  return false;
}

void GameWindow::RunOne(const std::function<void()>& event) {
  const QWidget* focusBefore = QApplication::focusWidget();
  try {
    event();
  } catch (const std::exception& fault) {
    // The game goes on from where the event stopped; the player can still
    // save what there is.
    platform_.ReportFailure(std::string("ゲームの処理が途中で止まりました：") + fault.what());
  }
  const std::optional<StoryHistory::Kind> begun = Recorded();
  Sync();
  if (QApplication::focusWidget() != focusBefore) heldKeyStale_ = true;
  reading_->AfterEvent(begun);
}

void GameWindow::Playing(scenario::Command command) { playing_.push_back(std::move(command)); }

// An event that reached the game goes into the recording, even one the game
// failed in: replaying it shows the failure. The popup menu's choice stands
// for the click that opened it. An event that reached nothing (a close taken
// back) leaves no answers behind.
std::optional<StoryHistory::Kind> GameWindow::Recorded() {
  std::vector<scenario::Command> played = std::exchange(playing_, {});
  const MenuItem* chosen = platform_.TakeMenuChoice();
  std::optional<StoryHistory::Kind> begun = StoryReading::GameBegun(played, chosen, fom_);
  if (recorder_ == nullptr) return begun;
  if (played.empty()) {
    recorder_->Dropped();
    return begun;
  }
  if (chosen != nullptr) played = {scenario::Menu{chosen->Id()}};
  for (const scenario::Command& command : played) recorder_->Played(command);
  return begun;
}

// A tick that falls due while another event runs is dropped: the timer
// comes round again.
void GameWindow::Tick(const TimerBinding& timer) {
  if (busy_ || closed_) return;
  // The scene waits while the player reads back in the history.
  if (timer.timer == &Fom::TimSay && reading_->HistoryOpen()) return;
  const Timer& model = fom_.*timer.timer;
  if (!model.Runs()) return;
  Run([this, &timer] {
    Playing(scenario::Tick{&timer});
    (fom_.*timer.tick)();
  });
}

// The piece has played to its end: the music timer runs now rather than at
// its next slow tick. Unlike a timer's tick this waits for an event that is
// running (a message box), so the music starts again once that is over.
void GameWindow::MusicEnded() {
  for (const TimerBinding& timer : Timers()) {
    if (!timer.followsMusic) continue;
    Run([this, &timer] {
      const Timer& model = fom_.*timer.timer;
      if (!model.Runs()) return;
      Playing(scenario::Tick{&timer});
      (fom_.*timer.tick)();
    });
  }
}

void GameWindow::Sync() {
  CreateMissingViews();
  if (Changed(caption_, fom_.fom.Caption)) setWindowTitle(QtText(fom_.fom.Caption));
  if (Changed(background_, fom_.fom.BackColor)) {
    QPalette colours = palette();
    colours.setColor(QPalette::Window, QtColour(fom_.fom.BackColor));
    setPalette(colours);
  }
  const double twipsPerPixel = platform_.TwipsPerPixel();
  for (auto& [control, view] : drawn_) view->Apply(twipsPerPixel);
  if (StackingChanged()) Restack();
  FollowFocus();
  focusRing_->Place();
  screenReader_.Sync();
}

GameWindow::Facing GameWindow::Faces() {
  if (fom_.PicStt.Shown()) return Facing::StartPanel;
  if (fom_.Lbl.Shown()) return Facing::Scene;
  if (fom_.PicBtl.Shown()) return Facing::Battle;
  bool commands = false;
  fom_.Com.ForEach([&commands](const CommandButton& command) { commands = commands || command.Shown(); });
  return commands ? Facing::Town : Facing::Road;
}

// The focus goes where the player acts next: the story text, the flute, the
// commands once a scene is over. The start panel offers no start button
// until the player moves onto one, so a key still pressed from an ending
// starts no game; back from the road the focus rests on hearing the
// rumours, which starts no story scene.
void GameWindow::FollowFocus() {
  const std::optional<Facing> before = facing_;
  if (!Changed(facing_, Faces())) return;
  if (!before || *before == Facing::StartPanel || *facing_ == Facing::StartPanel) CoverFocus();
  switch (*facing_) {
    case Facing::StartPanel:
      setFocus(Qt::OtherFocusReason);
      break;
    case Facing::Scene:
      FocusOn(fom_.Pic);
      break;
    case Facing::Battle:
      FocusOn(fom_.ComBtl);
      break;
    case Facing::Road:
      break;
    case Facing::Town:
      if (before == Facing::Road || before == Facing::Battle) {
        FocusOn(fom_.Com[kRumours]);
      } else {
        FocusFirstCommand();
      }
      break;
  }
}

// Nothing the start panel covers takes the focus, so typing can never reach
// a control the player cannot see.
void GameWindow::CoverFocus() {
  for (auto& [control, view] : drawn_) {
    QWidget& widget = view->Widget();
    Qt::FocusPolicy own = ownFocus_.try_emplace(&widget, widget.focusPolicy()).first->second;
    widget.setFocusPolicy(CoveredByStartPanel(fom_, *control) ? Qt::NoFocus : own);
  }
}

void GameWindow::FocusOn(const Control& control) {
  QWidget* widget = WidgetOf(control);
  if (widget != nullptr && widget->isVisibleTo(this)) widget->setFocus(Qt::OtherFocusReason);
}

void GameWindow::FocusFirstCommand() {
  for (Control* control : fom_.FocusOrder()) {
    if (control->Name != fom_.Com.Name() || !control->Shown()) continue;
    FocusOn(*control);
    return;
  }
}

// Controls created while the game runs (the status bars of Form_Load) get
// their widgets at the next look.
void GameWindow::CreateMissingViews() {
  std::vector<Control*> controls = fom_.AllControls();
  if (controls.size() == views_.size()) return;
  bool added = false;
  for (Control* control : controls) {
    if (views_.count(control) != 0) continue;
    View* view = MakeView(*control, *this, ContainerWidget(control->Container));
    views_[control] = view;
    if (view == nullptr) continue;
    drawn_.emplace_back(static_cast<const PlacedControl*>(control), view);
    added = true;
  }
  if (!added) return;
  zOrders_.clear();
  facing_.reset();
  SetFocusOrder();
}

bool GameWindow::StackingChanged() {
  bool changed = zOrders_.size() != drawn_.size();
  zOrders_.resize(drawn_.size());
  for (std::size_t i = 0; i < drawn_.size(); ++i) {
    changed = changed || zOrders_[i] != drawn_[i].first->ZOrder;
    zOrders_[i] = drawn_[i].first->ZOrder;
  }
  return changed;
}

// Among controls of the same kind and level, one earlier in the window
// description lies on top, so the start panel covers the whole window.
void GameWindow::Restack() {
  std::vector<std::size_t> order(drawn_.size());
  for (std::size_t i = 0; i < order.size(); ++i) order[i] = i;
  auto key = [this](std::size_t i) {
    const PlacedControl& control = *drawn_[i].first;
    return std::make_tuple(!LiesBeneath(control), control.ZOrder, -static_cast<long>(i));
  };
  std::sort(order.begin(), order.end(),
            [&](std::size_t a, std::size_t b) { return key(a) < key(b); });
  for (std::size_t i : order) drawn_[i].second->Widget().raise();
  focusRing_->Lift();
}

void GameWindow::SetFocusOrder() {
  QWidget* previous = nullptr;
  for (Control* control : fom_.FocusOrder()) {
    QWidget* widget = WidgetOf(*control);
    if (widget == nullptr) continue;
    if (previous != nullptr) QWidget::setTabOrder(previous, widget);
    previous = widget;
  }
}

QWidget* GameWindow::ContainerWidget(const Control* container) {
  auto found = views_.find(container);
  if (found == views_.end() || found->second == nullptr) return this;
  QWidget* client = found->second->Client();
  return client != nullptr ? client : this;
}

}  // namespace kiravel::qt
