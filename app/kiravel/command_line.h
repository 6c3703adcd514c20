// The game window's command line: kiravel [--data DIR] [--fullscreen |
// --window] [--mute] [--slow-battles] [--record FILE] [--scene NAME] [--play FILE
// [--shots DIR]] [--report-first-frame], with --help and --version.
#pragma once

#include <QCommandLineParser>
#include <QStringList>

#include <string>

#include "app/kiravel/window_preferences.h"

namespace kiravel::qt {

inline constexpr int kUsageError = 2;

struct CommandLine {
  std::string data;  // empty: found by the usual rule
  std::string record;  // empty: the game is not recorded
  std::string scene;  // empty: the game starts at its start panel
  std::string play;    // empty: the player plays, not a scenario
  std::string shots;   // where the played scenario's pictures go
  bool reportFirstFrame = false;
  StartChoices choices;
};

class CommandLineParser {
 public:
  CommandLineParser();
  // False on a usage error, with its text in Error().
  bool Parse(const QStringList& arguments, CommandLine& line);
  bool WantsHelp() const { return parser_.isSet("help") || parser_.isSet("help-all"); }
  bool WantsVersion() const { return parser_.isSet("version"); }
  QString Help() const { return parser_.helpText(); }
  QString Error() const { return error_; }

 private:
  QCommandLineParser parser_;
  QString error_;
};

// Whether the arguments are answered in text alone (--help, --version or a
// usage error), which needs no screen. Qt reads its own single-dash options
// (-platform, -style) only once the window's application is made, so an
// error on a line holding one is left until then.
bool AnswersInTextAlone(int argc, char** argv);

}  // namespace kiravel::qt
