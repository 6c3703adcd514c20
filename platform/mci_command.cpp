#include "platform/mci_command.h"

#include <algorithm>
#include <charconv>
#include <sstream>
#include <vector>

#include "platform/mci_codes.h"

namespace kiravel {

namespace {

using Words = std::vector<std::string>;

Words Split(const std::string& text) {
  Words words;
  std::istringstream in(text);
  for (std::string word; in >> word;) words.push_back(word);
  return words;
}

// The words after those a command needs may only ask to be told when it
// completes; the game's device never tells, so the word changes nothing.
std::int32_t Tail(const Words& words, std::size_t from) {
  for (std::size_t i = from; i < words.size(); ++i) {
    if (words[i] != "notify") return mci::kUnrecognizedCommand;
  }
  return mci::kOk;
}

// open "PATH" alias NAME: the path may hold spaces, so it is taken between
// its quotes before the rest is split into words.
std::variant<MciCommand, std::int32_t> ParseOpen(const std::string& text) {
  const std::size_t first = text.find('"');
  const std::size_t last = first == std::string::npos ? first : text.find('"', first + 1);
  if (last == std::string::npos) return mci::kMissingParameter;
  if (Split(text.substr(0, first)).size() != 1) return mci::kUnrecognizedCommand;
  Words rest = Split(text.substr(last + 1));
  if (rest.size() < 2 || rest[0] != "alias") return mci::kMissingParameter;
  if (std::int32_t tail = Tail(rest, 2); tail != mci::kOk) return tail;
  return MciCommand{MciVerb::Open, rest[1], text.substr(first + 1, last - first - 1), {}};
}

// A position is a whole number of milliseconds; anything else lies outside
// the piece.
std::variant<MciCommand, std::int32_t> ParsePlay(const Words& words) {
  MciCommand play{MciVerb::Play, words[1], {}, {}};
  if (words.size() < 3 || words[2] != "from") {
    if (std::int32_t tail = Tail(words, 2); tail != mci::kOk) return tail;
    return play;
  }
  if (words.size() < 4) return mci::kMissingParameter;
  const std::string& number = words[3];
  std::int64_t ms = 0;
  auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), ms);
  if (error != std::errc() || end != number.data() + number.size() || ms < 0)
    return mci::kOutOfRange;
  if (std::int32_t tail = Tail(words, 4); tail != mci::kOk) return tail;
  play.FromMs = ms;
  return play;
}

std::variant<MciCommand, std::int32_t> ParseSeek(const Words& words) {
  if (words.size() < 4) return mci::kMissingParameter;
  if (words[2] != "to" || words[3] != "start") return mci::kUnrecognizedCommand;
  if (std::int32_t tail = Tail(words, 4); tail != mci::kOk) return tail;
  return MciCommand{MciVerb::Seek, words[1], {}, {}};
}

std::variant<MciCommand, std::int32_t> ParseStatus(const Words& words) {
  if (words.size() < 3) return mci::kMissingParameter;
  if (words[2] != "mode" || words.size() > 3) return mci::kUnrecognizedCommand;
  return MciCommand{MciVerb::Status, words[1], {}, {}};
}

std::variant<MciCommand, std::int32_t> ParseClose(const Words& words) {
  if (std::int32_t tail = Tail(words, 2); tail != mci::kOk) return tail;
  return MciCommand{MciVerb::Close, words[1], {}, {}};
}

}  // namespace

std::variant<MciCommand, std::int32_t> ParseMci(const std::string& text) {
  const Words words = Split(text);
  if (words.empty()) return mci::kUnrecognizedCommand;
  const std::string& verb = words[0];
  if (verb == "open") return ParseOpen(text);
  const bool known = verb == "close" || verb == "play" || verb == "seek" || verb == "status";
  if (!known) return mci::kUnrecognizedCommand;
  if (words.size() < 2) return mci::kMissingParameter;
  if (verb == "close") return ParseClose(words);
  if (verb == "play") return ParsePlay(words);
  if (verb == "seek") return ParseSeek(words);
  return ParseStatus(words);
}

}  // namespace kiravel
