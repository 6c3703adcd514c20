#include "platform/random_draws.h"

namespace kiravel {

double RandomDraws::Next() {
  if (!queued_.empty()) {
    double value = queued_.front();
    queued_.pop_front();
    return value;
  }
  // 53 random bits give every double of [0, 1) on the grid 2^-53.
  return static_cast<double>(generator_() >> 11) * 0x1.0p-53;
}

}  // namespace kiravel
