#include "soak/invariants.h"

#include <array>
#include <cstddef>
#include <string_view>

#include "core/conversions.h"
#include "core/fom.h"
#include "core/job.h"
#include "core/status.h"
#include "core/text_speeds.h"
#include "platform/cp932.h"
#include "platform/utf8.h"

namespace kiravel::soak {

namespace {

using nlohmann::json;

constexpr std::array<std::string_view, 6> kOutputKinds = {"dump", "refused", "msgbox",
                                                          "mci",  "picture", "error"};

class Checker {
 public:
  explicit Checker(const json& dump) : dump_(dump) {}

  void Require(bool holds, const std::string& what) {
    if (!holds) problems.push_back(what);
  }
  const json& At(const std::string& name) const { return dump_.at(name); }
  std::size_t Count(const std::string& list) const { return dump_.at(list).at("List").size(); }

  std::vector<std::string> problems;

 private:
  const json& dump_;
};

void CheckMoney(Checker& c) {
  const long money = c.At("Money").get<long>();
  c.Require(money >= 0 && money <= kMostMoney, "money out of bounds: " + std::to_string(money));
  // The purse is shown from the first game on.
  if (c.Count("LstMati(0)") == 0) return;
  c.Require(c.At("LblDay").at("Caption") == std::to_string(money) + "星粒",
            "the purse shows " + c.At("LblDay").at("Caption").get<std::string>() +
                " for a money of " + std::to_string(money));
}

void CheckStatuses(Checker& c) {
  for (std::size_t i = 0; i < kStatusMaxima.size(); ++i) {
    const int value = c.At("StrVal").at(i).get<int>();
    c.Require(c.At("StrMax").at(i) == kStatusMaxima[i], "a status maximum changed");
    c.Require(value >= 0 && value <= kStatusMaxima[i],
              "status " + std::to_string(i) + " out of bounds: " + std::to_string(value));
  }
  for (const json& count : c.At("IveCount")) {
    c.Require(count.get<int>() >= 0, "a story line counts below 0");
  }
  c.Require(!(c.At("TimDay").at("Enabled").get<bool>() && c.At("TimBtl").at("Enabled").get<bool>()),
            "the day clock runs during a battle");
  const int speed = c.At("TimSay").at("Interval").get<int>();
  c.Require(IsTextSpeed(speed),
            "a text speed of " + std::to_string(speed));
}

std::string JobList(int column) { return "LstSigoto(" + std::to_string(column) + ")"; }

// Lists whose items belong together, row by row.
void CheckFamilies(Checker& c) {
  c.Require(c.Count("LstMati(0)") == c.Count("LstMati(1)"), "the town lists are out of step");
  c.Require(c.Count("LstYou(0)") == c.Count("LstYou(1)"), "the fairy lists are out of step");
  for (int k = JobColumn::Attribute; k < kJobColumns; ++k) {
    c.Require(c.Count(JobList(JobColumn::Cargo)) == c.Count(JobList(k)), "the job lists are out of step");
  }
  const json& table = c.At("IraiTbl");
  c.Require(table.size() == kRequestOffers, "the request table has not one row per offer");
  const std::size_t offers = c.Count("LstIrai");
  c.Require(offers <= kRequestOffers, "more requests on offer than the table holds");
  for (std::size_t row = 0; row < offers && row < table.size(); ++row) {
    c.Require(table[row].size() == kJobColumns, "a request row has not a value per job column");
    for (const json& value : table[row]) c.Require(!value.is_null(), "an offered request is empty");
  }
}

bool IsIndexIn(const json& item, long low, long high) {
  if (!item.is_string()) return false;
  const std::string text = item.get<std::string>();
  if (text.empty() || text.find_first_not_of("0123456789") != std::string::npos || text.size() > 9) {
    return false;
  }
  const long value = std::stol(text);
  return value >= low && value <= high;
}

// The hidden columns hold decimal texts within their ranges.
void CheckColumns(Checker& c) {
  const long towns = static_cast<long>(c.Count("LstMati(0)"));
  for (const std::string& list : {std::string("LstMati(1)"), std::string("LstYou(1)"),
                                   JobList(JobColumn::Attribute)}) {
    for (const json& item : c.At(list).at("List")) {
      c.Require(IsIndexIn(item, 0, kAttributeCount - 1), "not an attribute in " + list + ": " + item.dump());
    }
  }
  for (const std::string& list : {JobList(JobColumn::From), JobList(JobColumn::To)}) {
    for (const json& item : c.At(list).at("List")) {
      c.Require(IsIndexIn(item, 0, towns - 1), "not a town in " + list + ": " + item.dump());
    }
  }
  if (towns == 0) return;
  const long now = c.At("MatiNow").get<long>();
  c.Require(now >= 0 && now < towns, "the courier is in no town: " + std::to_string(now));
  // The destination matters only on the road.
  if (!c.At("TimDay").at("Enabled").get<bool>() && !c.At("TimBtl").at("Enabled").get<bool>()) return;
  const long go = c.At("MatiGo").get<long>();
  c.Require(go >= 0 && go < towns, "the journey leads to no town: " + std::to_string(go));
}

void CheckSelections(Checker& c, const json& dump) {
  for (const auto& [name, control] : dump.items()) {
    if (!control.is_object() || !control.contains("List")) continue;
    const long index = control.at("ListIndex").get<long>();
    const long count = static_cast<long>(control.at("List").size());
    c.Require(index >= -1 && index < count,
              name + " selects " + std::to_string(index) + " of " + std::to_string(count));
  }
}

void CheckName(Checker& c) {
  const std::string name = c.At("TxtName").at("Text").get<std::string>();
  const std::u32string characters = Utf8ToCodePoints(name);
  c.Require(characters.size() <= static_cast<std::size_t>(Fom::kLongestCourierName), "a name longer than the name box takes: " + name);
  for (char32_t ch : characters) {
    const bool control = ch < 0x20 || (ch >= 0x7F && ch <= 0x9F);
    c.Require(!control && Cp932CanEncode(ch), "a name the name box would refuse: " + name);
  }
}

}  // namespace

std::string OutputLineProblem(const std::string& line, json& parsed) {
  parsed = json::parse(line, nullptr, false);
  if (parsed.is_discarded()) return "not JSON: " + line;
  if (!parsed.is_object() || parsed.size() < 1) return "not an object: " + line;
  const std::string kind = parsed.begin().key();
  for (std::string_view known : kOutputKinds) {
    if (kind == known) return "";
  }
  return "an unknown kind of line: " + line;
}

std::vector<std::string> StateProblems(const json& dump) {
  Checker c(dump);
  CheckMoney(c);
  CheckStatuses(c);
  CheckFamilies(c);
  CheckColumns(c);
  CheckSelections(c, dump);
  CheckName(c);
  return c.problems;
}

}  // namespace kiravel::soak
