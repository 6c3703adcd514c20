// The courier bot's side of the conversation with kiravel-run: what it reads
// from each dump, how it chooses its next command, and how its games ended.
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <sstream>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "platform/data_folder.h"
#include "testing/courier_bot.h"
#include "testing/json_reader.h"

namespace kiravel::testing {
namespace {

using Value = Json;

// ---- The runner as a partner in conversation ----

// kiravel-run on a program folder of its own, fed one command at a time; its
// answer to each batch is read up to the dump that ends the batch.
class Runner {
 public:
  Runner(const std::string& program, const std::string& app, unsigned seed) {
    int toRunner[2], fromRunner[2];
    if (::pipe(toRunner) != 0 || ::pipe(fromRunner) != 0) throw std::runtime_error("pipe");
    pid_ = ::fork();
    if (pid_ == 0) {
      ::dup2(toRunner[0], 0);
      ::dup2(fromRunner[1], 1);
      for (int fd : {toRunner[0], toRunner[1], fromRunner[0], fromRunner[1]}) ::close(fd);
      const std::string seedText = std::to_string(seed);
      ::execl(program.c_str(), program.c_str(), "--app", app.c_str(), "--seed", seedText.c_str(),
              static_cast<char*>(nullptr));
      ::_exit(127);
    }
    ::close(toRunner[0]);
    ::close(fromRunner[1]);
    in_ = toRunner[1];
    out_ = fromRunner[0];
  }
  ~Runner() {
    ::close(in_);
    ::close(out_);
    int status = 0;
    ::waitpid(pid_, &status, 0);
  }
  Runner(const Runner&) = delete;
  Runner& operator=(const Runner&) = delete;

  // Sends the commands and a dump of the names; returns the dump. Anything
  // else the runner said on the way is kept in `Said`.
  Value Ask(const std::vector<std::string>& commands, const std::string& names) {
    std::string batch;
    for (const std::string& command : commands) batch += command + "\n";
    batch += "dump " + names + "\n";
    for (std::size_t sent = 0; sent < batch.size();) {
      const ssize_t n = ::write(in_, batch.data() + sent, batch.size() - sent);
      if (n <= 0) throw std::runtime_error("the runner stopped listening");
      sent += static_cast<std::size_t>(n);
    }
    for (;;) {
      Value line = testing::JsonReader(NextLine()).Read();
      if (line.Has("dump")) return line["dump"];
      if (line.Has("refused") || line.Has("error") || line.Has("msgbox")) Said.push_back(line);
    }
  }

  std::vector<Value> Said;

 private:
  std::string NextLine() {
    for (;;) {
      const std::size_t end = buffer_.find('\n');
      if (end != std::string::npos) {
        std::string line = buffer_.substr(0, end);
        buffer_.erase(0, end + 1);
        return line;
      }
      char chunk[65536];
      const ssize_t n = ::read(out_, chunk, sizeof chunk);
      if (n <= 0) throw std::runtime_error("the runner ended the conversation");
      buffer_.append(chunk, static_cast<std::size_t>(n));
    }
  }

  pid_t pid_ = -1;
  int in_ = -1;
  int out_ = -1;
  std::string buffer_;
};

// ---- What the bot sees ----

constexpr const char* kLookNames =
    "PicStt Lbl PicBtl PicBtlStr PicBar TimDay Com(0) IveCount StrVal Money MatiNow "
    "LstMati(1) LstYou(1) LstSigoto(4) LstSigoto(5) IraiTbl LvIve LvRest";

struct Offer {
  int row = 0;
  int destination = 0;
  int due = 0;
};

struct Look {
  bool startPanel = false, scene = false, battle = false, fighting = false, travelling = false;
  bool eventWaits = false;
  std::vector<int> counts, status, townAttributes, jobDestinations, jobDues;
  std::vector<Offer> offers;
  int money = 0, town = 0, fairies = 0, lvIve = 0, lvRest = 0;

  int Day() const { return status[4]; }
  int Stamina() const { return status[3]; }
  int Distance(int to) const { return std::abs(to - town); }
};

Look Read(const Value& dump) {
  Look look;
  look.startPanel = dump["PicStt"]["Shown"].flag;
  look.scene = dump["Lbl"]["Shown"].flag;
  look.battle = dump["PicBtl"]["Shown"].flag;
  look.fighting = look.battle && dump["PicBtlStr"]["Visible"].flag;
  look.travelling = dump["TimDay"]["Enabled"].flag;
  look.eventWaits = dump["Com(0)"]["Shown"].flag;
  look.counts = dump["IveCount"].Ints();
  look.status = dump["StrVal"].Ints();
  look.money = dump["Money"].Int();
  look.town = dump["MatiNow"].Int();
  look.townAttributes = dump["LstMati(1)"]["List"].Ints();
  look.fairies = static_cast<int>(dump["LstYou(1)"]["List"].items.size());
  look.jobDestinations = dump["LstSigoto(4)"]["List"].Ints();
  look.jobDues = dump["LstSigoto(5)"]["List"].Ints();
  look.lvIve = dump["LvIve"].Int();
  look.lvRest = dump["LvRest"].Int();
  if (dump["PicBar"]["Shown"].flag) {
    for (std::size_t row = 0; row < 4; ++row) {
      const Value& cells = dump["IraiTbl"][row];
      if (cells[4].kind != Value::Kind::Number) continue;
      look.offers.push_back({static_cast<int>(row), cells[4].Int(), cells[5].Int()});
    }
  }
  return look;
}

// ---- The courier bot ----

// The scenes each story line has in a data folder: counts 0 .. n-1.
std::vector<int> SceneCounts(const std::string& app) {
  std::vector<int> counts;
  for (int line = 0; line < 3; ++line) {
    int n = 0;
    while (std::filesystem::exists(app + TextFolderPath() + std::to_string(line) + std::to_string(n) + kDataEnding)) ++n;
    counts.push_back(n);
  }
  return counts;
}

// A plain strategy a patient player might follow: carry requests to towns
// whose attribute the wanted story needs, take every scene the towns offer
// except another line's ending, rest when tired, look for fairies and towns
// while the purse allows, and blow the flute at a human pace in battles.
class CourierBot {
 public:
  CourierBot(const PlayingField& field, const std::string& app, unsigned seed, int level, int target)
      : runner_(field.runner, app, seed), scenes_(SceneCounts(app)), level_(level), target_(target),
        previous_((target + 2) % 3) {}

  GameResult Play() {
    Look look = Act({"click ComStt(" + std::to_string(level_) + ")"});
    for (int step = 0; step < kMostSteps && !look.startPanel; ++step) look = Next(look);
    return Finish(look);
  }

 private:
  static constexpr int kMostSteps = 20000;
  static constexpr int kFluteMs = 300;  // a quick but human hand on the flute
  static constexpr int kTavernVisits = 1;

  Look Act(const std::vector<std::string>& commands) { return Read(runner_.Ask(commands, kLookNames)); }

  Look Next(const Look& look) {
    if (look.scene) return Act({"click Lbl"});
    if (look.fighting) return Act({"click ComBtl", "wait " + std::to_string(kFluteMs)});
    if (look.battle) return Act({"click ComBtl"});
    if (look.travelling) return Act({"wait 100"});
    return InTown(look);
  }

  Look InTown(const Look& look) {
    if (arrived_ || look.town != stayTown_) StartStay(look);
    if (look.eventWaits && WantsEvent(look)) return PlayEvent(look);
    if (visits_ < kTavernVisits) return VisitTavern();
    if (!forestTried_ && WantsFairy(look)) return forestTried_ = true, Act({"click Com(1)"});
    if (!rumourTried_ && WantsTown(look)) return rumourTried_ = true, Act({"click Com(2)"});
    return Travel(look);
  }

  void StartStay(const Look& look) {
    stayTown_ = look.town;
    visits_ = 0;
    forestTried_ = rumourTried_ = arrived_ = false;
  }

  int LineAt(const Look& look, int town) const {
    const int t = look.townAttributes.at(town);
    if (look.counts[t] <= 5) return t;
    const int next = (t + 1) % 3;
    return look.counts[next] >= 6 ? next : -1;
  }

  bool IsFinal(int line, int count) const { return count + 1 >= scenes_[line]; }

  bool WantsEvent(const Look& look) const {
    const int line = LineAt(look, look.town);
    return line >= 0 && (line == target_ || !IsFinal(line, look.counts[line]));
  }

  Look PlayEvent(const Look& look) {
    const int line = LineAt(look, look.town);
    if (line == target_ && IsFinal(line, look.counts[line])) finalStarted_ = true;
    return Act({"click Com(0)"});
  }

  // Status points the wanted story still needs in an attribute.
  int Need(const Look& look, int attribute) const {
    int goal = 0;
    if (attribute == target_) goal = (scenes_[target_] - 1) * look.lvIve;
    if (attribute == previous_ && look.counts[previous_] < 6) goal = std::max(goal, 5 * look.lvIve);
    return std::max(0, goal - look.status[attribute]);
  }

  bool EventReadyAt(const Look& look, int town) const {
    const int line = LineAt(look, town);
    if (line < 0 || (line != target_ && line != previous_)) return false;
    if (line != target_ && IsFinal(line, look.counts[line])) return false;
    return look.status[line] >= look.counts[line] * look.lvIve;
  }

  int Score(const Look& look, int town) const {
    if (town == look.town) return -1000000;
    const int attribute = look.townAttributes[town];
    const int weight = Need(look, attribute) > 0 ? 3 : 1;
    int score = -4 * look.Distance(town);
    for (int destination : look.jobDestinations) score += destination == town ? 4 * weight : 0;
    for (const Offer& offer : look.offers) {
      if (offer.destination == town && Reachable(look, offer)) score += weight;
    }
    if (EventReadyAt(look, town)) score += 12;
    if (Need(look, attribute) > 0) score += 2;
    return score;
  }

  bool Reachable(const Look& look, const Offer& offer) const {
    return offer.due >= look.Day() + look.Distance(offer.destination) + 1;
  }

  int BestTown(const Look& look) const {
    int best = look.town == 0 ? 1 : 0;
    for (int town = 0; town < static_cast<int>(look.townAttributes.size()); ++town) {
      if (Score(look, town) > Score(look, best)) best = town;
    }
    return best;
  }

  Look VisitTavern() {
    ++visits_;
    Look bar = Act({"click Com(3)"});
    if (bar.startPanel) return bar;
    const int best = BestTown(bar);
    std::vector<std::string> commands;
    int accepted = 0;
    for (const Offer& offer : bar.offers) {
      if (offer.destination != best || !Reachable(bar, offer)) continue;
      // Each accepted offer leaves the list: the rows below it move up.
      commands.push_back("select LstIrai " + std::to_string(offer.row - accepted++));
      commands.push_back("click ComIrai");
    }
    const int rests = RestsWanted(bar);
    for (int i = 0; i < rests; ++i) commands.push_back("click ComHp");
    return commands.empty() ? bar : Act(commands);
  }

  int RestsWanted(const Look& look) const {
    const int reserve = 3000;
    int rests = 0;
    for (int stamina = look.Stamina(), money = look.money;
         stamina < 200 && money - look.lvRest >= reserve; stamina += 150, money -= look.lvRest) {
      ++rests;
    }
    return rests;
  }

  bool WantsFairy(const Look& look) const { return look.fairies < 8 && look.money >= 6000; }

  bool WantsTown(const Look& look) const {
    bool haveTarget = false, havePrevious = false;
    for (int attribute : look.townAttributes) {
      haveTarget = haveTarget || attribute == target_;
      havePrevious = havePrevious || attribute == previous_;
    }
    return (!haveTarget || !havePrevious) && look.money >= 2000;
  }

  Look Travel(const Look& look) {
    arrived_ = true;
    return Act({"select LstMati(0) " + std::to_string(BestTown(look)), "click Com(4)"});
  }

  GameResult Finish(const Look& look) {
    GameResult result;
    result.day = look.Day();
    for (const Value& said : runner_.Said) {
      if (said.Has("refused")) result.troubles.push_back("refused: " + said["refused"].text);
      if (said.Has("error")) result.troubles.push_back("error: " + said["error"].text);
    }
    if (!look.startPanel) return result;
    if (finalStarted_) {
      result.ending = Ending::StoryLine;
      result.line = target_;
    } else if (look.Day() >= 365) {
      result.ending = Ending::OutOfDays;
    } else if (look.Stamina() <= 0) {
      result.ending = Ending::OutOfStamina;
    } else {
      result.ending = Ending::OtherLine;
    }
    return result;
  }

  Runner runner_;
  std::vector<int> scenes_;
  int level_, target_, previous_;
  int stayTown_ = -1, visits_ = 0;
  bool forestTried_ = false, rumourTried_ = false, arrived_ = false, finalStarted_ = false;
};

// A program folder of its own for each game, sharing the played data, so
// the bonus pages written land there and not beside the real game.
class Table {
 public:
  explicit Table(const std::string& data) {
    std::string pattern = (std::filesystem::temp_directory_path() / "kiravel-play-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
    path_ = pattern + "/";
    for (const char* part : {kPictureFolder, kTextFolder, kMusicFile}) {
      std::filesystem::create_symlink(data + "/" + part, path_ + part);
    }
  }
  ~Table() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  const std::string& Path() const { return path_; }
  bool HasBonusPage() const {
    for (const auto& entry : std::filesystem::directory_iterator(path_)) {
      if (entry.path().filename().string().ends_with(kPageEnding)) return true;
    }
    return false;
  }

 private:
  std::string path_;
};

}  // namespace

void Tally::Add(const GameResult& result, int target) {
  ++games;
  if (result.ending == Ending::StoryLine && result.line == target) {
    ++wins;
    winningDays.push_back(result.day);
  }
  outOfDays += result.ending == Ending::OutOfDays;
  outOfStamina += result.ending == Ending::OutOfStamina;
  other += result.ending == Ending::OtherLine || result.ending == Ending::Stuck;
  troubles.insert(troubles.end(), result.troubles.begin(), result.troubles.end());
}

std::string Tally::Report() const {
  std::ostringstream out;
  out << wins << " of " << games << " won, " << outOfDays << " out of days, " << outOfStamina
      << " out of stamina, " << other << " otherwise";
  if (!winningDays.empty()) {
    std::vector<int> days = winningDays;
    std::sort(days.begin(), days.end());
    out << "; won by day " << days[days.size() / 2] << " in the middle (" << days.front()
        << " at the soonest, " << days.back() << " at the latest)";
  }
  return out.str();
}

GameResult PlayOne(const PlayingField& field, int level, int target, unsigned seed, bool* bonusPage) {
  Table table(field.data);
  GameResult result = CourierBot(field, table.Path(), seed, level, target).Play();
  if (bonusPage) *bonusPage = table.HasBonusPage();
  return result;
}

Tally PlayMany(const PlayingField& field, int level, int games, unsigned firstSeed) {
  Tally tally;
  for (int i = 0; i < games; ++i) {
    const int target = i % 3;
    tally.Add(PlayOne(field, level, target, firstSeed + static_cast<unsigned>(i)), target);
  }
  return tally;
}

}  // namespace kiravel::testing
