#include "app/kiravel/qt_platform.h"

#include <QCursor>
#include <QGuiApplication>
#include <QMenu>
#include <QScreen>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <future>
#include <map>
#include <optional>
#include <random>
#include <utility>

#include "app/kiravel/views.h"
#include "platform/picture_decoder.h"
#include "ui/controls.h"

namespace kiravel::qt {

namespace {

constexpr double kTwipsPerInch = 1440;
// Where the screen tells no resolution: the common 96 dots per inch.
constexpr double kUsualTwipsPerPixel = 15;
const QString kTitle = QStringLiteral("Kiravel");

// Fills menu with the items under parent that are shown, remembering which
// action stands for which item.
void AddItems(QMenu& menu, const MenuItem& parent, std::map<QAction*, const MenuItem*>& items) {
  for (const MenuItem* item : parent.Children) {
    if (!item->Visible) continue;
    if (!item->Children.empty()) {
      QMenu* submenu = menu.addMenu(QtText(item->Caption));
      submenu->setEnabled(item->Enabled);
      AddItems(*submenu, *item, items);
      continue;
    }
    QAction* action = menu.addAction(QtText(item->Caption));
    action->setEnabled(item->Enabled);
    items[action] = item;
  }
}

std::pair<FileStamp, QImage> ReadAndDecode(const std::string& path) {
  std::optional<PictureBytes> file = ReadPictureFile(path);
  if (!file) return {};
  return {file->Stamp, DecodePicture(file->Bytes)};
}

// A seed of its own for every start of the window, as the game's
// randomizing from the clock gives.
std::uint64_t ChooseSeed() {
  auto now = std::chrono::system_clock::now().time_since_epoch().count();
  return static_cast<std::uint64_t>(now) ^ std::random_device{}();
}

}  // namespace

QtPlatform::QtPlatform(MusicThread& music) : music_(music), seed_(ChooseSeed()), draws_(seed_) {}

std::vector<std::string> QtPlatform::ReleaseFailures() {
  holding_ = false;
  return std::exchange(held_, {});
}

void QtPlatform::SetSeed(std::uint64_t seed) {
  seed_ = seed;
  draws_.Seed(seed);
}

void QtPlatform::AnswerFromScenario(std::function<void(QWidget& shown)> shown) {
  scenarioShown_ = std::move(shown);
}

void QtPlatform::Randomize() { draws_.Seed(seed_); }

double QtPlatform::Rnd() { return draws_.Next(); }

MsgBoxAnswer QtPlatform::Ask(QMessageBox::Icon icon, const std::string& text,
                             MsgBoxButtons buttons) {
  if (boxOpening_) boxOpening_(text);
  const bool yesNo = buttons == MsgBoxButtons::YesNo;
  QMessageBox box(icon, kTitle, QtText(text),
                  yesNo ? QMessageBox::Yes | QMessageBox::No : QMessageBox::Ok, window_);
  // Every Yes of the game throws something away: a stray Enter must not.
  if (yesNo) box.setDefaultButton(QMessageBox::No);
  MsgBoxAnswer answer = MsgBoxAnswer::OK;
  if (scenarioShown_) {
    box.show();
    scenarioShown_(box);
    answer = answers_.Next(buttons);
  } else if (yesNo) {
    answer = box.exec() == QMessageBox::Yes ? MsgBoxAnswer::Yes : MsgBoxAnswer::No;
  } else {
    box.exec();
  }
  if (answered_) answered_(answer);
  return answer;
}

MsgBoxAnswer QtPlatform::MsgBox(const std::string& text, MsgBoxButtons buttons) {
  return Ask(QMessageBox::NoIcon, text, buttons);
}

void QtPlatform::ReportFailure(const std::string& text) {
  if (holding_) {
    held_.push_back(text);
    return;
  }
  Ask(QMessageBox::Warning, text, MsgBoxButtons::OK);
}

std::int32_t QtPlatform::mciSendString(const std::string& command, std::string* reply,
                                       int replyLength) {
  std::string answer;
  std::int32_t result = music_.Send(command, reply != nullptr ? &answer : nullptr);
  if (reply == nullptr || result != 0 || answer.empty()) return result;
  // The reply goes into the caller's buffer of replyLength characters.
  std::size_t n = std::min(answer.size(), static_cast<std::size_t>(std::max(0, replyLength)));
  if (reply->size() < n) reply->resize(n, ' ');
  reply->replace(0, n, answer, 0, n);
  return result;
}

void QtPlatform::DecodeAhead(const std::string& path) {
  aheadPath_ = path;
  ahead_ = std::async(std::launch::async, ReadAndDecode, path);
}

void QtPlatform::TakeDecodedAhead() {
  if (!ahead_.valid()) return;
  auto [stamp, pixels] = ahead_.get();
  if (pixels.isNull()) return;
  pictures_.Remember(aheadPath_, stamp, std::make_shared<QtImage>(std::move(pixels)));
}

std::shared_ptr<const Image> QtPlatform::LoadPicture(const std::string& path) {
  TakeDecodedAhead();
  return pictures_.Load(path);
}

const MenuItem* QtPlatform::PopupMenu(const MenuItem& root) {
  chosen_ = Choose(root);
  return chosen_;
}

const MenuItem* QtPlatform::Choose(const MenuItem& root) {
  QMenu menu(window_);
  std::map<QAction*, const MenuItem*> items;
  AddItems(menu, root, items);
  const QPoint at = popUpUnder_ != nullptr
                        ? popUpUnder_->mapToGlobal(QPoint(0, popUpUnder_->height()))
                        : QCursor::pos();
  if (!scenarioShown_) {
    auto found = items.find(menu.exec(at));
    return found == items.end() ? nullptr : found->second;
  }
  menu.popup(at);
  scenarioShown_(menu);
  menu.close();
  if (menuChoices_.empty()) return nullptr;
  const MenuItem* choice = menuChoices_.front();
  menuChoices_.pop_front();
  return choice;
}

QRect QtPlatform::Area() const {
  QScreen* screen = window_ != nullptr ? window_->screen() : QGuiApplication::primaryScreen();
  return screen != nullptr ? screen->availableGeometry() : QRect();
}

ScreenSize QtPlatform::Screen() {
  QSize size = Area().size();
  return ScreenSize{ToTwips(size.width()), ToTwips(size.height())};
}

double QtPlatform::TwipsPerPixel() {
  QScreen* screen = window_ != nullptr ? window_->screen() : QGuiApplication::primaryScreen();
  double dpi = screen != nullptr ? screen->logicalDotsPerInchY() : 0;
  return dpi > 0 ? kTwipsPerInch / dpi : kUsualTwipsPerPixel;
}

WindowPlace QtPlatform::Window() {
  if (window_ == nullptr) return WindowPlace{};
  QRect frame = window_->frameGeometry().translated(-Area().topLeft());
  return WindowPlace{ToTwips(frame.x()),      ToTwips(frame.y()),
                     ToTwips(frame.width()),  ToTwips(frame.height()),
                     ToTwips(window_->width()), ToTwips(window_->height())};
}

bool QtPlatform::SetWindowWidth(std::int32_t twips) {
  if (Fixed()) return false;
  int frame = window_->frameGeometry().width() - window_->width();
  window_->resize(std::max(1, ToPixels(twips) - frame), window_->height());
  return true;
}

bool QtPlatform::SetWindowLeft(std::int32_t twips) {
  if (Fixed()) return false;
  window_->move(Area().x() + ToPixels(twips), window_->y());
  return true;
}

bool QtPlatform::SetWindowTop(std::int32_t twips) {
  if (Fixed()) return false;
  window_->move(window_->x(), Area().y() + ToPixels(twips));
  return true;
}

bool QtPlatform::Fixed() const {
  return window_ == nullptr || window_->isMinimized() || window_->isMaximized() ||
         window_->isFullScreen();
}

int QtPlatform::ToPixels(std::int32_t twips) {
  return static_cast<int>(std::lround(twips / TwipsPerPixel()));
}

std::int32_t QtPlatform::ToTwips(int pixels) {
  return static_cast<std::int32_t>(std::lround(pixels * TwipsPerPixel()));
}

}  // namespace kiravel::qt
