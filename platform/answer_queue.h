// The answers a scenario gives the game's message boxes, the same in the
// runner and the window: in the order queued; a box with none queued gets
// OK, or No when it asks Yes or No.
#pragma once

#include <deque>

#include "platform/platform.h"

namespace kiravel {

class AnswerQueue {
 public:
  void Queue(MsgBoxAnswer answer) { queued_.push_back(answer); }
  // The answer the next box gets: one its buttons offer.
  MsgBoxAnswer Next(MsgBoxButtons buttons);

 private:
  std::deque<MsgBoxAnswer> queued_;
};

}  // namespace kiravel
