// The soak's rules must catch what they are there to catch: a sound game
// passes them, and each kind of broken state is named.
#include "soak/invariants.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "soak/dump_after.h"

namespace kiravel::soak {
namespace {

using nlohmann::json;

// The dump of a hard game just begun, in the town view, from the runner.
json DumpOfANewGame() { return DumpAfter({"click ComStt(1)", "click ComSkep", "click Com(3)"}); }

TEST(SoakRules, ASoundGameKeepsEveryRule) {
  const json dump = DumpOfANewGame();
  EXPECT_EQ(StateProblems(dump), std::vector<std::string>{});
  EXPECT_GT(dump["LstIrai"]["List"].size(), 0u) << "the tavern's offers are checked too";
}

TEST(SoakRules, EachBrokenRuleIsNamed) {
  const json sound = DumpOfANewGame();
  struct Breakage {
    const char* what;
    std::function<void(json&)> apply;
  };
  const Breakage breakages[] = {
      {"money out of bounds",
       [](json& d) {
         d["Money"] = 300001;
         d["LblDay"]["Caption"] = "300001星粒";
       }},
      {"the purse shows", [](json& d) { d["LblDay"]["Caption"] = "1星粒"; }},
      {"status 4 out of bounds", [](json& d) { d["StrVal"][4] = 366; }},
      {"status 3 out of bounds", [](json& d) { d["StrVal"][3] = -1; }},
      {"the town lists are out of step", [](json& d) { d["LstMati(1)"]["List"].erase(0); }},
      {"the job lists are out of step", [](json& d) { d["LstSigoto(5)"]["List"].push_back("1"); }},
      {"an offered request is empty", [](json& d) { d["IraiTbl"][0][2] = nullptr; }},
      {"not an attribute in LstYou(1)", [](json& d) { d["LstYou(1)"]["List"][0] = "3"; }},
      {"LstMati(0) selects 3 of 3", [](json& d) { d["LstMati(0)"]["ListIndex"] = 3; }},
      {"the courier is in no town", [](json& d) { d["MatiNow"] = 3; }},
      {"the day clock runs during a battle",
       [](json& d) { d["TimDay"]["Enabled"] = d["TimBtl"]["Enabled"] = true; }},
      {"a text speed of 150", [](json& d) { d["TimSay"]["Interval"] = 150; }},
      {"a name longer than the name box takes", [](json& d) { d["TxtName"]["Text"] = "あいうえおかきくけ"; }},
      {"a name the name box would refuse", [](json& d) { d["TxtName"]["Text"] = "ミ\tヤ"; }},
      {"a name the name box would refuse", [](json& d) { d["TxtName"]["Text"] = "한"; }},
  };
  for (const Breakage& breakage : breakages) {
    json broken = sound;
    breakage.apply(broken);
    const std::vector<std::string> problems = StateProblems(broken);
    ASSERT_EQ(problems.size(), 1u) << breakage.what;
    EXPECT_EQ(problems[0].rfind(breakage.what, 0), 0u) << problems[0];
  }
}

TEST(SoakRules, OnlyJsonObjectsOfTheRunnersKindsAreOutput) {
  json parsed;
  EXPECT_EQ(OutputLineProblem(R"({"refused": "click X", "why": "no control"})", parsed), "");
  EXPECT_EQ(OutputLineProblem(R"({"mci": "play MIDI notify", "result": 0})", parsed), "");
  for (const char* line : {"", "{", "[1]", "{}", R"({"dump": 1} x)", R"({"said": "hello"})",
                           "{\"error\": \"\xff\"}", "{\"error\": \"a\tb\"}"}) {
    EXPECT_NE(OutputLineProblem(line, parsed), "") << line;
  }
}

}  // namespace
}  // namespace kiravel::soak
