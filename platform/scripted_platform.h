// The platform as the runner and the tests see it: random draws and message
// box answers come from queues, the window lives on a simulated screen, the
// music device plays on a simulated clock, and pictures are recognised by
// their headers.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "platform/platform.h"

namespace kiravel {

class ScriptedPlatform : public Platform {
 public:
  explicit ScriptedPlatform(std::uint64_t seed = 1);

  // ---- Scripting ----
  // Numbers in [0, 1) returned by the next draws, in order.
  void QueueRnd(double value) { draws_.push_back(value); }
  // The answer to the next message box. A box without a queued answer gets
  // OK, or No when it asks Yes or No.
  void QueueAnswer(MsgBoxAnswer answer) { answers_.push_back(answer); }
  std::size_t QueuedDraws() const { return draws_.size(); }
  // The item the next popup menu is answered with; without one the menu is
  // dismissed.
  void QueueMenuChoice(const MenuItem* item) { menuChoices_.push_back(item); }

  // The simulated clock in milliseconds, advanced by the runner.
  std::int64_t NowMs = 0;
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
  double TwipsPerPixel() override { return 15; }
  WindowPlace Window() override { return Place; }
  bool SetWindowWidth(std::int32_t twips) override;
  bool SetWindowLeft(std::int32_t twips) override;
  bool SetWindowTop(std::int32_t twips) override;
  // Sets the outer height (client area alike: the simulated window has no
  // frame), as a person dragging the bottom edge would.
  void SetWindowHeight(std::int32_t twips);

 private:
  std::int32_t Mci(const std::string& command, std::string* reply);

  std::mt19937_64 generator_;
  std::deque<double> draws_;
  std::deque<MsgBoxAnswer> answers_;
  std::deque<const MenuItem*> menuChoices_;

  // The simulated music device: one alias, a wave file of a known length,
  // playing from a moment of the clock until its length has passed.
  struct Device {
    std::string alias;
    std::int64_t lengthMs = 0;
    bool playing = false;
    std::int64_t startedMs = 0;
    std::int64_t positionMs = 0;  // where play starts from
  };
  std::vector<Device> devices_;
};

}  // namespace kiravel
