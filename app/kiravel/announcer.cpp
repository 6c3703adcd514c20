#include "app/kiravel/announcer.h"

#include <algorithm>
#include <utility>
#include <vector>

namespace kiravel::qt {

namespace {

// The pieces of one piece of news are said one after the other.
constexpr char kBetweenPieces[] = "　";

std::string Replaced(std::string text, const std::string& from, const std::string& to) {
  for (std::size_t at = 0; (at = text.find(from, at)) != std::string::npos; at += to.size()) {
    text.replace(at, from.size(), to);
  }
  return text;
}

// A caption's lines said as one.
std::string OneLine(const std::string& caption) {
  std::string line = Replaced(Replaced(caption, "\r\n", kBetweenPieces), "\n", kBetweenPieces);
  while (line.starts_with(kBetweenPieces)) line.erase(0, std::string(kBetweenPieces).size());
  return line;
}

// The fairies' blows, newest at the top of the battle text, in the order
// they fell.
std::string Blows(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find("\r\n", start);
    if (end == std::string::npos) end = text.size();
    if (end > start) lines.push_back(text.substr(start, end - start));
    start = end + 2;
  }
  std::string said;
  for (auto line = lines.rbegin(); line != lines.rend(); ++line) {
    if (!said.empty()) said += kBetweenPieces;
    said += *line;
  }
  return said;
}

std::string MonsterHp(std::int16_t hp, std::int16_t maximum) {
  return "魔物の体力 " + std::to_string(std::max<int>(0, hp)) + " / " + std::to_string(maximum);
}

}  // namespace

bool ScenePlaying(const Fom& fom) { return fom.Lbl.Shown() && !fom.PicStt.Shown(); }

std::string SpokenPage(const Fom& fom) {
  std::string page = fom.Lbl.Caption;
  const std::string& mark = fom.SayBuf;
  if (!mark.empty() && page.ends_with(mark)) page.erase(page.size() - mark.size());
  page = Replaced(page, "\r\n", "\n");
  if (mark == "▼") page += kPageEndWords;
  return page;
}

std::string Announcer::BoxNews(const std::string& text) { return OneLine(text); }

Announcer::Seen Announcer::Look(const Fom& fom) {
  Seen seen;
  seen.startPanel = fom.PicStt.Shown();
  seen.scene = ScenePlaying(fom);
  seen.battle = fom.PicBtl.Shown();
  seen.message = fom.LblGame.Shown() ? fom.LblGame.Caption : "";
  seen.money = fom.Money;
  seen.status = fom.StrVal;
  seen.monsterHp = fom.BtlHp;
  seen.flute = fom.ComBtl.Caption;
  seen.blows = seen.battle ? fom.TxtBtl.Text : "";
  seen.jobs = fom.LstSigoto[0].ListCount();
  return seen;
}

std::string Announcer::News(const Fom& fom) {
  const std::optional<Seen> before = std::exchange(seen_, Look(fom));
  if (!before) return "";
  const Seen& now = *seen_;
  std::vector<std::string> pieces;
  if (now.startPanel && !before->startPanel) pieces.push_back("スタート画面");
  if (now.scene && !before->scene) pieces.push_back("イベント開始");
  if (!now.scene && before->scene) pieces.push_back("イベント終了");
  if (now.blows != before->blows && !now.blows.empty()) pieces.push_back(Blows(now.blows));
  if (now.message != before->message && !now.message.empty()) pieces.push_back(OneLine(now.message));
  const bool fighting = now.battle && fom.PicBtlStr.Shown();
  if (fighting && (!before->battle || now.monsterHp != before->monsterHp)) {
    pieces.push_back(MonsterHp(now.monsterHp, fom.BtlHpMax));
  }
  if (now.battle && !fighting && now.flute != before->flute) pieces.push_back(now.flute);
  if (now.jobs != before->jobs) pieces.push_back("仕事 " + std::to_string(now.jobs) + "件");
  if (now.money != before->money) pieces.push_back("所持金 " + fom.LblDay.Caption);
  for (std::size_t i = 0; i < now.status.size(); ++i) {
    if (now.status[i] == before->status[i]) continue;
    pieces.push_back(fom.StrName[i] + " " + std::to_string(now.status[i]));
  }
  std::string news;
  for (const std::string& piece : pieces) {
    if (!news.empty()) news += kBetweenPieces;
    news += piece;
  }
  return news;
}

}  // namespace kiravel::qt
