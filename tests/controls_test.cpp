#include <gtest/gtest.h>

#include <random>
#include <string>
#include <utility>
#include <vector>

#include "ui/controls.h"

namespace kiravel {
namespace {

// The list keeps its free slots wherever the last removal left them; any mix
// of additions, removals and reads must still see the items in their order.
TEST(ListBox, KeepsItemOrderThroughAnyMixOfAddsRemovalsAndReads) {
  ListBox list("LstSigoto", 0);
  std::vector<std::string> expected;
  std::mt19937 random(7);
  for (int step = 0; step < 5000; ++step) {
    int choice = static_cast<int>(random() % 10);
    if (choice < 4 || expected.empty()) {
      std::string item = "job" + std::to_string(step);
      list.AddItem(item);
      expected.push_back(item);
    } else if (choice < 8) {
      int at = static_cast<int>(random() % expected.size());
      list.RemoveItem(at);
      expected.erase(expected.begin() + at);
    } else {
      int at = static_cast<int>(random() % expected.size());
      ASSERT_EQ(list.List(at), expected[static_cast<std::size_t>(at)]) << "step " << step;
    }
    ASSERT_EQ(list.ListCount(), static_cast<int>(expected.size()));
  }
  EXPECT_EQ(list.Items(), expected);
  EXPECT_EQ(list.List(-1), "");
  EXPECT_EQ(list.List(list.ListCount()), "");
}

TEST(ListBox, SelectionFollowsItsItemAndIsLostWithIt) {
  ListBox list("LstIrai");
  for (const char* item : {"a", "b", "c", "d"}) list.AddItem(item);
  list.ListIndex = 2;
  list.RemoveItem(0);
  EXPECT_EQ(list.Text(), "c");
  list.RemoveItem(1);
  EXPECT_EQ(list.ListIndex, -1);
  EXPECT_EQ(list.Text(), "");
  list.RemoveItem(7);  // outside the list: nothing happens
  EXPECT_EQ(list.Items(), (std::vector<std::string>{"b", "d"}));
}

// The front ends run a timer from what it tells them: a change it keeps to
// itself would leave a Qt timer or the runner's clock counting wrongly.
TEST(Timer, TellsItsFrontEndEveryChangeOfItsCountdownAndNothingElse) {
  Timer timer("TimSay");
  std::vector<std::pair<bool, std::int32_t>> told;
  timer.CountChanged = [&](const Timer& t) { told.emplace_back(t.Enabled(), t.Interval()); };
  timer.SetEnabled(false);
  timer.SetEnabled(true);
  timer.SetEnabled(true);  // already on: no fresh start
  timer.SetInterval(100);
  timer.SetInterval(100);  // the same interval: the count goes on
  timer.SetEnabled(false);
  timer.SetEnabled(false);
  timer.SetInterval(0);  // a new interval while off is still told
  EXPECT_EQ(told, (std::vector<std::pair<bool, std::int32_t>>{
                      {false, 0}, {true, 0}, {true, 100}, {false, 100}, {false, 0}}));
}

}  // namespace
}  // namespace kiravel
