// The machine as the game window sees it: Qt for pictures, message boxes,
// the popup menu, the screen and the window's place on it; the music thread
// for the music device.
#pragma once

#include <QByteArray>
#include <QImage>
#include <QMessageBox>
#include <QPointer>
#include <QRect>
#include <QWidget>

#include <cstdint>
#include <functional>
#include <future>
#include <deque>
#include <string>
#include <utility>
#include <vector>

#include "platform/answer_queue.h"
#include "platform/picture_decoder.h"
#include "platform/platform.h"
#include "platform/random_draws.h"
#include "app/kiravel/music_thread.h"

namespace kiravel::qt {

class QtPlatform : public Platform {
 public:
  explicit QtPlatform(MusicThread& music);

  // The window the game sizes and moves, and over which boxes and the menu
  // appear.
  void Attach(QWidget* window) { window_ = window; }

  // While the window opens, failures are gathered rather than shown, so the
  // player gets one box about everything the opening missed.
  void HoldFailures() { holding_ = true; }

  // Told just before a message box opens, so that the window behind it
  // shows what the game holds by then.
  void OnBoxOpening(std::function<void(const std::string& text)> opening) { boxOpening_ = std::move(opening); }
  // The popup menu opens under this widget, or at the mouse pointer when
  // there is none.
  void PopUpUnder(QWidget* widget) { popUpUnder_ = widget; }

  // Told, on the music thread, when the piece has played to its end.
  void OnMusicEnded(std::function<void()> ended) { music_.OnPieceEnded(std::move(ended)); }
  std::vector<std::string> ReleaseFailures();

  // Starts decoding a picture the game is about to ask for on a thread of
  // its own, while the window is still being built; LoadPicture takes it
  // over when the file still holds the same bytes.
  void DecodeAhead(const std::string& path);

  // ---- Scenarios: what the window's player and its recording use ----
  // The seed the game's draws start from when it randomizes: chosen when
  // the window starts, or given by a scenario.
  std::uint64_t Seed() const { return seed_; }
  void SetSeed(std::uint64_t seed);
  void QueueRnd(double value) { draws_.Queue(value); }
  // From now on message boxes are answered from the queue, as the runner
  // answers them, and the popup menu with the queued choice or nothing;
  // each is shown to `shown` first, then closed.
  void AnswerFromScenario(std::function<void(QWidget& shown)> shown);
  void QueueAnswer(MsgBoxAnswer answer) { answers_.Queue(answer); }
  void QueueMenuChoice(const MenuItem* item) { menuChoices_.push_back(item); }
  // Told of every answer a message box was given.
  void OnAnswered(std::function<void(MsgBoxAnswer)> answered) { answered_ = std::move(answered); }
  // The item the last popup menu was answered with, once.
  const MenuItem* TakeMenuChoice() { return std::exchange(chosen_, nullptr); }

  void Randomize() override;
  double Rnd() override;
  MsgBoxAnswer MsgBox(const std::string& text, MsgBoxButtons buttons) override;
  void ReportFailure(const std::string& text) override;
  std::int32_t mciSendString(const std::string& command, std::string* reply,
                             int replyLength) override;
  std::shared_ptr<const Image> LoadPicture(const std::string& path) override;
  const MenuItem* PopupMenu(const MenuItem& root) override;
  ScreenSize Screen() override;
  double TwipsPerPixel() override;
  WindowPlace Window() override;
  bool SetWindowWidth(std::int32_t twips) override;
  bool SetWindowLeft(std::int32_t twips) override;
  bool SetWindowTop(std::int32_t twips) override;

 private:
  MsgBoxAnswer Ask(QMessageBox::Icon icon, const std::string& text, MsgBoxButtons buttons);
  const MenuItem* Choose(const MenuItem& root);
  // A minimised, maximised or full-screen window keeps its size and place.
  bool Fixed() const;
  // The part of the screen the window may cover: the screen without the
  // desktop's panels. The game's screen is this area, and its window's
  // place is measured from the area's corner.
  QRect Area() const;
  void TakeDecodedAhead();
  int ToPixels(std::int32_t twips);
  std::int32_t ToTwips(int pixels);

  MusicThread& music_;
  QWidget* window_ = nullptr;
  std::uint64_t seed_;
  RandomDraws draws_;
  // Set while a scenario answers the boxes and the menu.
  std::function<void(QWidget&)> scenarioShown_;
  AnswerQueue answers_;
  std::deque<const MenuItem*> menuChoices_;
  std::function<void(MsgBoxAnswer)> answered_;
  std::function<void(const std::string&)> boxOpening_;
  QPointer<QWidget> popUpUnder_;
  const MenuItem* chosen_ = nullptr;
  bool holding_ = false;
  std::vector<std::string> held_;
  PictureReader pictures_;
  std::future<std::pair<FileStamp, QImage>> ahead_;
  std::string aheadPath_;
};

}  // namespace kiravel::qt
