// The platform as the runner and the tests see it: random draws and message
// box answers come from queues, the window lives on a simulated screen, the
// music device plays on a simulated clock, and pictures are recognised by
// their headers.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/answer_queue.h"
#include "platform/clock_playback.h"
#include "platform/mci_device.h"
#include "platform/picture_decoder.h"
#include "platform/random_draws.h"
#include "platform/platform.h"

namespace kiravel {

class ScriptedPlatform : public Platform {
 public:
  explicit ScriptedPlatform(std::uint64_t seed = 1);

  // ---- Scripting ----
  // Numbers in [0, 1) returned by the next draws, in order.
  void QueueRnd(double value) { draws_.Queue(value); }
  // The answer to the next message box. A box without a queued answer gets
  // OK, or No when it asks Yes or No.
  void QueueAnswer(MsgBoxAnswer answer) { answers_.Queue(answer); }
  std::size_t QueuedDraws() const { return draws_.Queued(); }
  // Draws after the queued ones start from the seed.
  void SeedDraws(std::uint64_t seed) { draws_.Seed(seed); }
  // The item the next popup menu is answered with; without one the menu is
  // dismissed.
  void QueueMenuChoice(const MenuItem* item) { menuChoices_.push_back(item); }

  // The simulated clock in milliseconds, advanced by the runner.
  std::int64_t NowMs = 0;
  // From when the music device answers "stopped" to a status query: now
  // when the open piece is still, its end while it plays, never while no
  // piece is open. Until then a look at the music finds nothing to do.
  std::optional<std::int64_t> MusicStoppedFromMs();
  // The simulated window and screen. While Fixed is set (a minimised or
  // maximised window) the window system refuses to move or size it.
  WindowPlace Place{0, 0, 11625, 8610, 11625, 8610};
  ScreenSize ScreenArea{15360, 11520};
  bool Fixed = false;

  // ---- What happened, for the runner's output and the tests ----
  struct MessageBox {
    std::string Text;
    MsgBoxButtons Buttons;
    MsgBoxAnswer Answer;
  };
  std::vector<MessageBox> MessageBoxes;
  std::vector<std::string> Failures;
  std::function<void(const MessageBox&)> OnMsgBox;
  std::function<void(const std::string&)> OnFailure;
  std::function<void(const std::string& command, std::int32_t result)> OnMci;

  // ---- Platform ----
  void Randomize() override {}
  double Rnd() override;
  MsgBoxAnswer MsgBox(const std::string& text, MsgBoxButtons buttons) override;
  void ReportFailure(const std::string& text) override;
  std::int32_t mciSendString(const std::string& command, std::string* reply,
                             int replyLength) override;
  std::shared_ptr<const Image> LoadPicture(const std::string& path) override;
  const MenuItem* PopupMenu(const MenuItem& root) override;
  ScreenSize Screen() override { return ScreenArea; }
  double TwipsPerPixel() override { return pixel_.value_or(kUsualTwipsPerPixel); }
  WindowPlace Window() override { return Place; }
  bool SetWindowWidth(std::int32_t twips) override;
  bool SetWindowLeft(std::int32_t twips) override;
  bool SetWindowTop(std::int32_t twips) override;
  // Sets the outer height, as a person dragging the bottom edge would.
  void SetWindowHeight(std::int32_t twips);
  // The frame around the client area, in twips; the simulated window has
  // none until it is given one.
  void SetWindowFrame(std::int32_t width, std::int32_t height);
  // The size of a pixel in twips, as a real screen has it: from then on the
  // window's size and place fall on whole pixels. Until then the pixel is
  // the usual 15 twips and the window is placed to the twip.
  void SetPixel(double twips) { pixel_ = twips; }

 private:
  RandomDraws draws_;
  // The pixel of the common 96 dots per inch.
  static constexpr double kUsualTwipsPerPixel = 15;
  // Twips on the pixel grid, once the screen has one.
  std::int32_t OnGrid(std::int32_t twips) const;
  std::optional<double> pixel_;
  std::int32_t frameWidth_ = 0;
  std::int32_t frameHeight_ = 0;
  AnswerQueue answers_;
  std::deque<const MenuItem*> menuChoices_;
  ClockPlayback playback_{NowMs};
  MciDevice music_{playback_};
  PictureReader pictures_;
};

}  // namespace kiravel
