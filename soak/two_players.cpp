#include "soak/two_players.h"

#include <algorithm>

namespace kiravel::soak {

namespace {

using nlohmann::json;

constexpr const char* kSavedNames =
    "Money TxtName MatiNow TimSay StrVal IveCount LstMati(0) LstMati(1) LstYou(0) LstYou(1) "
    "LstSigoto(0) LstSigoto(1) LstSigoto(2) LstSigoto(3) LstSigoto(4) LstSigoto(5)";

constexpr const char* kSaved = "SAVE　OK";
constexpr const char* kLoaded = "Load　OK";
constexpr const char* kOldSaveKept = "前のセーブはそのまま残っています。";

const char* MenuLine(SaveMenu choice) {
  return choice == SaveMenu::Save ? "menu menu_sis_c(0)" : "menu menu_sis_c(1)";
}

bool Holds(const std::vector<std::string>& messages, const std::string& text) {
  return std::any_of(messages.begin(), messages.end(),
                     [&](const std::string& m) { return m.find(text) != std::string::npos; });
}

bool Among(const std::vector<json>& games, const json& game) {
  return std::find(games.begin(), games.end(), game) != games.end();
}

std::string Said(const std::vector<std::string>& messages) {
  std::string said;
  for (const std::string& m : messages) said += (said.empty() ? "" : " / ") + m;
  return said.empty() ? "nothing" : said;
}

}  // namespace

json SavedGame(const json& dump) {
  json game = json::object();
  for (const auto& [name, value] : dump.items()) {
    if (value.is_object() && value.contains("List")) {
      game[name] = value["List"];
    } else if (name == "TxtName") {
      game[name] = value["Text"];
    } else if (name == "TimSay") {
      game[name] = value["Interval"];
    } else {
      game[name] = value;
    }
  }
  return game;
}

TwoPlayers::TwoPlayers(const std::string& runner, const std::filesystem::path& app,
                       std::uint64_t seed)
    : runner_(runner), app_(app) {
  // Two hard games (only they have the system menu), the second with the
  // tavern's first offer taken: the two differ in every file of the save.
  const std::vector<std::vector<std::string>> openings = {
      {"click ComStt(1)", "click ComSkep", "click Com(3)"},
      {"click ComStt(1)", "click ComSkep", "click Com(3)", "select LstIrai 0", "click ComIrai"}};
  for (int p = 0; p < 2; ++p) {
    players_[p].name = p == 0 ? "ミンヤ" : "クロエ";
    players_[p].runner = std::make_unique<RunnerProcess>(
        runner, std::vector<std::string>{"--app", app.string(), "--seed", std::to_string(seed + p)});
    for (const std::string& line : openings[p]) players_[p].runner->Send(line);
    players_[p].runner->Send("type TxtName " + players_[p].name + "0");
  }
}

TwoPlayers::Reply TwoPlayers::Await(Player& player) {
  Reply reply;
  for (;;) {
    std::optional<std::string> line = player.runner->ReadLine();
    if (!line) {
      reply.problem = "a player's runner ended";
      return reply;
    }
    json parsed = json::parse(*line, nullptr, false);
    if (parsed.is_discarded()) {
      reply.problem = "a player printed no JSON: " + *line;
      return reply;
    }
    if (parsed.contains("msgbox")) reply.messages.push_back(parsed["msgbox"]["text"]);
    if (parsed.contains("dump")) {
      reply.game = SavedGame(parsed["dump"]);
      return reply;
    }
  }
}

RoundOutcome TwoPlayers::Round(SaveMenu first, SaveMenu second) {
  ++round_;
  const SaveMenu choices[2] = {first, second};
  // Both lines are sent before either answer is read: the two runners work
  // on the folder at once.
  for (int p = 0; p < 2; ++p) {
    players_[p].runner->Send(MenuLine(choices[p]));
    players_[p].runner->Send(std::string("dump ") + kSavedNames);
  }
  Reply replies[2] = {Await(players_[0]), Await(players_[1])};
  RoundOutcome outcome;
  auto broken = [&](const std::string& problem) {
    if (outcome.problem.empty()) outcome.problem = problem;
  };
  std::vector<json> savedNow;
  for (int p = 0; p < 2; ++p) {
    const Reply& r = replies[p];
    if (!r.problem.empty()) {
      outcome.problem = r.problem;
      return outcome;
    }
    if (choices[p] != SaveMenu::Save) continue;
    if (Holds(r.messages, kSaved)) {
      ++outcome.saved;
      savedNow.push_back(r.game);
    } else if (Holds(r.messages, kOldSaveKept)) {
      ++outcome.saveRefused;
    } else {
      broken("a save said " + Said(r.messages));
      // A save that could not finish may still be the save.
      savedNow.push_back(r.game);
    }
  }
  for (int p = 0; p < 2; ++p) {
    if (choices[p] != SaveMenu::Load) continue;
    const Reply& r = replies[p];
    if (!Holds(r.messages, kLoaded)) {
      // Before the first save there is nothing to load, unless the other
      // player's save came first.
      if (!allowed_.empty()) broken("a load said " + Said(r.messages));
      continue;
    }
    ++outcome.loaded;
    // The other player's save may have come before or after the load.
    if (!Among(allowed_, r.game) && !Among(savedNow, r.game)) {
      broken("a load found a game no save left: " + r.game.dump());
    }
  }
  if (!savedNow.empty()) allowed_ = savedNow;
  for (int p = 0; p < 2; ++p) {
    // A load puts the courier in the town; the system menu is the tavern's.
    if (choices[p] == SaveMenu::Load) players_[p].runner->Send("click Com(3)");
    players_[p].runner->Send("type TxtName " + players_[p].name + std::to_string(round_));
  }
  return Verify(outcome);
}

// A fresh game loads the folder as the player would at the next start.
RoundOutcome TwoPlayers::Verify(RoundOutcome outcome) {
  RunnerProcess reader(runner_, {"--app", app_.string(), "--seed", "1"});
  reader.Send("click ComStt(2)");
  reader.Send(std::string("dump ") + kSavedNames);
  std::vector<std::string> lines;
  reader.Finish(lines);
  std::vector<std::string> messages;
  json game;
  for (const std::string& line : lines) {
    json parsed = json::parse(line, nullptr, false);
    if (parsed.is_discarded()) continue;
    if (parsed.contains("msgbox")) messages.push_back(parsed["msgbox"]["text"]);
    if (parsed.contains("dump")) game = SavedGame(parsed["dump"]);
  }
  if (allowed_.empty()) return outcome;
  if (!Holds(messages, kLoaded)) {
    if (outcome.problem.empty()) outcome.problem = "the folder does not load: " + Said(messages);
    return outcome;
  }
  if (!Among(allowed_, game) && outcome.problem.empty()) {
    outcome.problem = "the folder loads a game whose save did not last say SAVE OK: " + game.dump();
  }
  // What the folder holds now is what the next round starts from.
  allowed_ = {game};
  return outcome;
}

}  // namespace kiravel::soak
