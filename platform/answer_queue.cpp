#include "platform/answer_queue.h"

namespace kiravel {

MsgBoxAnswer AnswerQueue::Next(MsgBoxButtons buttons) {
  MsgBoxAnswer queued = buttons == MsgBoxButtons::OK ? MsgBoxAnswer::OK : MsgBoxAnswer::No;
  if (!queued_.empty()) {
    queued = queued_.front();
    queued_.pop_front();
  }
  if (buttons == MsgBoxButtons::OK) return MsgBoxAnswer::OK;
  return queued == MsgBoxAnswer::Yes ? MsgBoxAnswer::Yes : MsgBoxAnswer::No;
}

}  // namespace kiravel
