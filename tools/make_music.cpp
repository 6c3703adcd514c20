// kiravel-music SCORE TARGET: renders the score (data/music/bgm.txt) into
// the game's background music, a 16-bit mono PCM wave. The game loops the
// file for ever, so whatever rings past the tune's end is laid over its
// beginning: the last sample leads into the first without a click.
#include <cmath>
#include <cstdint>
#include <fstream>
#include <iostream>
#include <map>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

constexpr int kRate = 22050;
constexpr double kPi = 3.14159265358979323846;

struct Note {
  double start = 0;  // beats
  double length = 0;
  double frequency = 0;  // 0 for a rest
};

struct Score {
  double tempo = 0;
  std::map<std::string, std::vector<Note>> voices;
  double Beats(const std::string& voice) const {
    auto found = voices.find(voice);
    if (found == voices.end() || found->second.empty()) return 0;
    return found->second.back().start + found->second.back().length;
  }
};

class ScoreError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// "A4" is 440 Hz; "C#5" a half step above C5.
double Frequency(const std::string& name) {
  static const std::map<char, int> kSteps = {{'C', -9}, {'D', -7}, {'E', -5}, {'F', -4},
                                             {'G', -2}, {'A', 0},  {'B', 2}};
  auto step = kSteps.find(name.empty() ? '?' : name[0]);
  if (step == kSteps.end()) throw ScoreError("\"" + name + "\" is no note");
  std::size_t at = 1;
  int semitones = step->second;
  if (at < name.size() && name[at] == '#') ++semitones, ++at;
  if (at + 1 != name.size() || !std::isdigit(static_cast<unsigned char>(name[at]))) {
    throw ScoreError("\"" + name + "\" needs one octave digit");
  }
  semitones += 12 * (name[at] - '4');
  return 440.0 * std::pow(2.0, semitones / 12.0);
}

void AddNotes(std::istringstream& words, std::vector<Note>& voice) {
  double at = voice.empty() ? 0 : voice.back().start + voice.back().length;
  for (std::string word; words >> word;) {
    const std::size_t colon = word.find(':');
    if (colon == std::string::npos) throw ScoreError("\"" + word + "\" needs :BEATS");
    const std::string name = word.substr(0, colon);
    const double beats = std::stod(word.substr(colon + 1));
    if (!(beats > 0)) throw ScoreError("\"" + word + "\" lasts no time");
    voice.push_back({at, beats, name == "r" ? 0.0 : Frequency(name)});
    at += beats;
  }
}

Score ReadScore(std::istream& in) {
  Score score;
  std::string text;
  for (int line = 1; std::getline(in, text); ++line) {
    std::istringstream words(text);
    std::string first;
    if (!(words >> first) || first[0] == '#') continue;
    try {
      if (first == "tempo") {
        words >> score.tempo;
      } else if (first == "melody" || first == "bass") {
        AddNotes(words, score.voices[first]);
      } else {
        throw ScoreError("no part \"" + first + "\"");
      }
    } catch (const std::exception& error) {
      throw ScoreError(std::to_string(line) + ": " + error.what());
    }
  }
  if (!(score.tempo > 0)) throw ScoreError("0: the score needs a tempo");
  if (score.Beats("melody") == 0 || score.Beats("melody") != score.Beats("bass")) {
    throw ScoreError("0: melody and bass must be of one length");
  }
  return score;
}

// A soft bell for the tune, a round plucked tone for the bass.
double Voice(const std::string& voice, double phase, double t) {
  if (voice == "melody") {
    return (std::sin(phase) + 0.3 * std::sin(2 * phase) + 0.1 * std::sin(3 * phase)) *
           std::exp(-2.2 * t);
  }
  const double triangle = 2.0 / kPi * std::asin(std::sin(phase));
  return 0.9 * triangle * std::exp(-1.4 * t);
}

std::vector<double> Render(const Score& score) {
  const double secondsPerBeat = 60.0 / score.tempo;
  const std::size_t total = static_cast<std::size_t>(score.Beats("melody") * secondsPerBeat * kRate);
  std::vector<double> mix(total, 0.0);
  for (const auto& [name, notes] : score.voices) {
    for (const Note& note : notes) {
      if (note.frequency == 0) continue;
      const std::size_t begin = static_cast<std::size_t>(note.start * secondsPerBeat * kRate);
      const double ring = note.length * secondsPerBeat + 0.6;  // the tail past the note
      const std::size_t count = static_cast<std::size_t>(ring * kRate);
      for (std::size_t i = 0; i < count; ++i) {
        const double t = static_cast<double>(i) / kRate;
        const double attack = std::min(1.0, t / 0.012);
        const double release = std::min(1.0, (ring - t) / 0.1);
        mix[(begin + i) % total] += attack * release * Voice(name, 2 * kPi * note.frequency * t, t);
      }
    }
  }
  return mix;
}

std::string Wave(const std::vector<double>& mix) {
  double peak = 1e-9;
  for (double sample : mix) peak = std::max(peak, std::abs(sample));
  std::string bytes;
  auto put = [&](std::uint32_t value, int count) {
    for (int i = 0; i < count; ++i) bytes += static_cast<char>((value >> (8 * i)) & 0xFF);
  };
  const std::uint32_t size = static_cast<std::uint32_t>(mix.size() * 2);
  bytes += "RIFF";
  put(36 + size, 4);
  bytes += "WAVEfmt ";
  put(16, 4), put(1, 2), put(1, 2), put(kRate, 4), put(kRate * 2, 4), put(2, 2), put(16, 2);
  bytes += "data";
  put(size, 4);
  for (double sample : mix) {
    put(static_cast<std::uint16_t>(static_cast<std::int16_t>(std::lround(sample / peak * 26000))), 2);
  }
  return bytes;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::cerr << "usage: kiravel-music SCORE TARGET\n";
    return 2;
  }
  std::ifstream in(argv[1]);
  if (!in) {
    std::cerr << argv[1] << ": cannot read\n";
    return 1;
  }
  try {
    const std::string wave = Wave(Render(ReadScore(in)));
    std::ofstream out(argv[2], std::ios::binary | std::ios::trunc);
    out << wave;
    if (!out.flush()) {
      std::cerr << argv[2] << ": cannot write\n";
      return 1;
    }
  } catch (const ScoreError& error) {
    std::cerr << argv[1] << ":" << error.what() << "\n";
    return 1;
  }
  return 0;
}
