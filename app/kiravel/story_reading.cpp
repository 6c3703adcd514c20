#include "app/kiravel/story_reading.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextEdit>

#include <utility>
#include <variant>

#include "app/kiravel/game_window.h"
#include "desktop/history_view.h"
#include "events/script_format.h"

namespace kiravel::qt {

namespace {

constexpr char kPageEnd[] = "▼";
constexpr char kLineEnd[] = "▽";

// Characters the player reads on the page: marks and line breaks are none.
int Characters(const std::string& caption) {
  QString text = QtText(caption);
  text.remove(QChar('\r')).remove(QChar('\n'));
  text.remove(QString::fromUtf8(kPageEnd)).remove(QString::fromUtf8(kLineEnd));
  return static_cast<int>(text.size());
}

bool EndsScene(const std::string& next) {
  const ScriptCommand command = CommandOf(next);
  return command == ScriptCommand::SceneEnd || command == ScriptCommand::StoryEnd;
}

}  // namespace

StoryReading::StoryReading(GameWindow& window, Fom& fom)
    : QObject(&window), window_(window), fom_(fom),
      pacer_([this] { ReadOnByItself(); }, this), mark_(new QLabel(&window)) {
  mark_->setObjectName(QStringLiteral("readingMark"));
  mark_->setAttribute(Qt::WA_TransparentForMouseEvents);
  mark_->setStyleSheet(QStringLiteral(
      "background: rgba(0, 0, 0, 160); color: white; padding: 2px 6px; border-radius: 3px;"));
  mark_->hide();
}

std::optional<StoryHistory::Kind> StoryReading::GameBegun(
    const std::vector<scenario::Command>& played, const MenuItem* chosen, const Fom& fom) {
  if (chosen != nullptr && chosen == &fom.menu_sis_c[1]) return StoryHistory::Kind::Load;
  for (const scenario::Command& command : played) {
    const auto* click = std::get_if<scenario::Click>(&command);
    if (click == nullptr) continue;
    if (click->control == fom.ComStt[2].Id()) return StoryHistory::Kind::Load;
    if (click->control == fom.ComStt[0].Id() || click->control == fom.ComStt[1].Id()) {
      return StoryHistory::Kind::NewGame;
    }
  }
  return std::nullopt;
}

PagePacer::Page StoryReading::Faced() const {
  PagePacer::Page page;
  page.inScene = fom_.Lbl.Shown() && !fom_.ScriptFile.empty() && fom_.Files.IsOpen(fom_.FileNo) &&
                 !fom_.PicStt.Shown();
  if (!page.inScene) return page;
  const bool marked = fom_.SayBuf == kPageEnd || fom_.SayBuf == kLineEnd;
  // A timer that steps on passes the mark by itself.
  page.waits = marked && !(fom_.TimSay.Runs() && !WaitsForClick(fom_.SayLine));
  page.endsScene = EndsScene(fom_.SayLine);
  page.characters = Characters(fom_.Lbl.Caption);
  return page;
}

void StoryReading::AfterEvent(std::optional<StoryHistory::Kind> begun) {
  // The data folder is known once the game has loaded.
  if (!playerFolder_.empty() && !fom_.AppPath.empty()) {
    readPages_.KeepIn(std::exchange(playerFolder_, ""), fom_.AppPath);
  }
  if (begun) history_.Break(*begun);
  page_ = Faced();
  history_.Follow(page_.inScene ? fom_.ScriptFile : "", fom_.Lbl.Caption);
  if (page_.inScene) {
    const ReadPages::Place place{fom_.ScriptFile, fom_.Files.LinesRead(fom_.FileNo)};
    page_.read = readPages_.Read(place);
    readPages_.Mark(place);
  } else if (wasInScene_) {
    // A scene's end is a calm moment to write down what was read in it.
    readPages_.Keep();
  }
  wasInScene_ = page_.inScene;
  Reconsider();
  // Shown now, the page is read from here on: asked again, the
  // fast-forward goes on past it.
  page_.read = true;
}

void StoryReading::Reconsider() {
  if (historyOpen_) {
    pacer_.Pause();
  } else {
    pacer_.Look(page_);
  }
  ShowMode();
}

void StoryReading::BoxOpening() {
  pacer_.Pause();
  if (pacer_.Skipping() != PagePacer::Skip::Off) pacer_.SetSkipping(PagePacer::Skip::Off);
  ShowMode();
}

// The pacer's time has come. What may have come up meanwhile (a box, a
// menu, a dialog, the history) keeps the click back; the end of whatever it
// was looks again.
void StoryReading::ReadOnByItself() {
  if (window_.Busy() || historyOpen_ || QApplication::activeModalWidget() != nullptr ||
      QApplication::activePopupWidget() != nullptr || !Faced().inScene) {
    return;
  }
  window_.Click(fom_.Lbl);
}

bool StoryReading::TypingHere() const {
  QWidget* focus = QApplication::focusWidget();
  if (focus == nullptr || focus == view_) return false;
  const bool editable = (qobject_cast<QLineEdit*>(focus) != nullptr && !static_cast<QLineEdit*>(focus)->isReadOnly()) ||
                        (qobject_cast<QPlainTextEdit*>(focus) != nullptr && !static_cast<QPlainTextEdit*>(focus)->isReadOnly()) ||
                        (qobject_cast<QTextEdit*>(focus) != nullptr && !static_cast<QTextEdit*>(focus)->isReadOnly());
  return editable;
}

bool StoryReading::Key(const QKeyEvent& event) {
  if ((event.modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier || TypingHere()) return false;
  switch (event.key()) {
    case Qt::Key_PageUp:
    case Qt::Key_H:
      if (!CanOpenHistory()) return false;
      OpenHistory();
      return true;
    case Qt::Key_A:
      ToggleAutoAdvance();
      return true;
    case Qt::Key_S:
      ToggleSkipping();
      return true;
    default:
      return false;
  }
}

void StoryReading::CtrlHeld(bool held) {
  if (held) {
    if (pacer_.Skipping() == PagePacer::Skip::Off) pacer_.SetSkipping(PagePacer::Skip::Held);
  } else if (pacer_.Skipping() == PagePacer::Skip::Held) {
    pacer_.SetSkipping(PagePacer::Skip::Off);
  }
  Reconsider();
}

void StoryReading::WheelUp() {
  if (fom_.Lbl.Shown() && CanOpenHistory()) OpenHistory();
}

void StoryReading::ToggleAutoAdvance() {
  pacer_.SetAutoAdvance(!pacer_.AutoAdvance());
  Reconsider();
}

void StoryReading::ToggleSkipping() {
  pacer_.SetSkipping(pacer_.Skipping() == PagePacer::Skip::Switched ? PagePacer::Skip::Off
                                                                     : PagePacer::Skip::Switched);
  Reconsider();
}

// Over the picture panel, in a scene or in town; never over the start
// panel, the road or a battle, which go on by themselves.
bool StoryReading::CanOpenHistory() const {
  if (fom_.PicStt.Shown() || window_.Busy()) return false;
  return fom_.Lbl.Shown() || (!fom_.TimDay.Enabled() && !fom_.PicBtl.Shown());
}

void StoryReading::OpenHistory() {
  if (historyOpen_) return;
  QWidget* panel = window_.WidgetOf(fom_.Pic);
  if (panel == nullptr) return;
  if (view_ == nullptr) view_ = new HistoryView(panel, [this] { CloseHistory(); });
  focusBefore_ = QApplication::focusWidget();
  historyOpen_ = true;
  pacer_.Pause();
  qApp->installEventFilter(this);
  view_->setGeometry(panel->rect());
  const QWidget* story = window_.WidgetOf(fom_.Lbl);
  view_->Show(history_.Text(), story != nullptr ? story->font() : window_.font());
  ShowMode();
}

void StoryReading::CloseHistory() {
  if (!historyOpen_) return;
  historyOpen_ = false;
  qApp->removeEventFilter(this);
  const bool hadFocus = view_->hasFocus();
  view_->hide();
  if (hadFocus && focusBefore_ != nullptr && focusBefore_->isVisible()) {
    focusBefore_->setFocus(Qt::OtherFocusReason);
  }
  Reconsider();
}

// While the history is open, clicks, keys and the wheel anywhere else in
// the window are the history's to ignore, and the keys stay with it even
// when a click elsewhere took the focus.
bool StoryReading::eventFilter(QObject* watched, QEvent* event) {
  switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::Wheel:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
      break;
    default:
      return false;
  }
  auto* widget = qobject_cast<QWidget*>(watched);
  if (widget == nullptr || (widget != &window_ && !window_.isAncestorOf(widget))) return false;
  if (widget == view_ || view_->isAncestorOf(widget)) return false;
  if (event->type() == QEvent::MouseButtonPress) view_->setFocus(Qt::OtherFocusReason);
  if (event->type() == QEvent::KeyPress) QCoreApplication::sendEvent(view_, event);
  return true;
}

void StoryReading::KeepReadPagesIn(const std::string& playerFolder) {
  playerFolder_ = playerFolder;
}

// The player sees what reads on by itself: a mark at the corner of the
// picture and a word in the window's title.
void StoryReading::ShowMode() {
  QStringList modes;
  if (pacer_.AutoAdvance()) modes << QStringLiteral("自動送り");
  if (pacer_.Skipping() != PagePacer::Skip::Off) modes << QStringLiteral("スキップ");
  const QString mode = modes.join(QStringLiteral("・"));
  if (mode.isEmpty()) {
    mark_->hide();
  } else {
    mark_->setText(mode);
    mark_->adjustSize();
    const QWidget* panel = window_.WidgetOf(fom_.Pic);
    const QPoint corner = panel != nullptr ? panel->mapTo(&window_, QPoint(4, 4)) : QPoint(4, 4);
    mark_->move(corner);
    mark_->show();
    mark_->raise();
  }
  const QString caption = QtText(fom_.fom.Caption);
  const QString title = mode.isEmpty() ? caption : caption + QStringLiteral("（") + mode + QStringLiteral("）");
  if (window_.windowTitle() != title) window_.setWindowTitle(title);
}

}  // namespace kiravel::qt
