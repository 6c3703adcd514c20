// The game's random draws, the same in the window and the runner: a seeded
// generator, and before it the numbers a scenario queued. One seed means the
// same game in both.
#pragma once

#include <cstdint>
#include <deque>
#include <random>

namespace kiravel {

class RandomDraws {
 public:
  explicit RandomDraws(std::uint64_t seed) : generator_(seed) {}

  void Seed(std::uint64_t seed) { generator_.seed(seed); }
  // A number in [0, 1) returned by the next draw, after those queued before.
  void Queue(double value) { queued_.push_back(value); }
  std::size_t Queued() const { return queued_.size(); }
  // The next queued number, or else the generator's.
  double Next();

 private:
  std::mt19937_64 generator_;
  std::deque<double> queued_;
};

}  // namespace kiravel
