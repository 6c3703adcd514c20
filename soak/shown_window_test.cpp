// The soak picks what a person could use by the game's own rule, judged on
// the window as the runner dumped it: a control is out of reach inside a
// hidden or disabled container too, and under the start panel.
#include "soak/shown_window.h"

#include <gtest/gtest.h>

#include <string>

#include "scenario/reach.h"
#include "soak/dump_after.h"

namespace kiravel::soak {
namespace {

using nlohmann::json;

std::string WhyNotClickable(ShownWindow& window, const json& dump, const std::string& id) {
  Fom& fom = window.As(dump);
  return scenario::WhyNotClickable(*fom.FindControl(id), fom);
}

TEST(ShownWindow, ReachIsTheGamesRuleOnTheDumpedWindow) {
  json dump = DumpAfter({});  // the start panel, as the window opens
  ShownWindow window;
  EXPECT_EQ(WhyNotClickable(window, dump, "ComStt(0)"), "");
  EXPECT_EQ(WhyNotClickable(window, dump, "Com(3)"), "the start panel PicStt covers Com(3)");
  EXPECT_EQ(WhyNotClickable(window, dump, "LblStr(0)"), "LblStr(0) has no click handler");

  // The dump's own flags, container by container, as the runner judges.
  dump["PicStt"]["Enabled"] = false;
  EXPECT_EQ(WhyNotClickable(window, dump, "ComStt(0)"),
            "ComStt(0) lies in PicStt, which is disabled");
  dump["PicStt"]["Visible"] = false;
  EXPECT_EQ(WhyNotClickable(window, dump, "ComStt(0)"), "ComStt(0) lies in PicStt, which is hidden");
  // Once the start panel is gone, what it covered is judged by its own
  // flags and its containers'.
  EXPECT_EQ(scenario::WhyMenuClosed(window.As(dump)),
            "the menu button cannot be clicked: MenuCom lies in PicBar, which is hidden");
  dump["PicBar"]["Visible"] = true;
  EXPECT_EQ(scenario::WhyMenuClosed(window.As(dump)), "");
}

}  // namespace
}  // namespace kiravel::soak
