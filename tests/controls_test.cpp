#include <gtest/gtest.h>

#include <random>
#include <string>
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

TEST(Timer, CountdownRestartsWhenSwitchedOnOrIntervalChanges) {
  Timer timer("TimSay");
  timer.SetEnabled(false);
  timer.SetEnabled(true);
  timer.SetEnabled(true);  // already on: no fresh start
  EXPECT_EQ(timer.Restarts(), 1U);
  timer.SetInterval(100);
  timer.SetInterval(100);
  EXPECT_EQ(timer.Restarts(), 2U);
  timer.SetEnabled(false);
  timer.SetEnabled(true);
  EXPECT_EQ(timer.Restarts(), 3U);
}

}  // namespace
}  // namespace kiravel
