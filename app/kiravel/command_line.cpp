#include "app/kiravel/command_line.h"

#include <filesystem>

#include "app/kiravel/window_keys.h"
#include "events/script_format.h"
#include "platform/argument_bytes.h"
#include "platform/data_folder.h"

namespace kiravel::qt {

namespace {

const char* const kDescription =
    "Kiravel: a courier's year of deliveries between towns, with fairies,\n"
    "monsters and story scenes.\n"
    "\n"
    "The data folder is --data DIR, else $KIRAVEL_DATA, else the program's own\n"
    "folder when it holds the data, else the installed one. The save and the\n"
    "bonus pages are written into the data folder when it is writable,\n"
    "otherwise into $XDG_DATA_HOME/kiravel/ (~/.local/share/kiravel/), and so\n"
    "is the list of pages read, which the skipping of read pages goes by.\n"
    "\n"
    "Exit status: 0 once the window is closed, 2 for a usage error.";

}  // namespace

CommandLineParser::CommandLineParser() {
  parser_.setApplicationDescription(QString::fromUtf8(kDescription) + QStringLiteral("\n\n") +
                                    KeysInEnglish());
  parser_.addHelpOption();
  parser_.addVersionOption();
  parser_.addOption({"data", "Plays the data folder DIR.", "DIR"});
  parser_.addOption({"fullscreen", "Opens the window on the full screen."});
  parser_.addOption({"window", "Opens the window as a window, not full screen."});
  parser_.addOption({"mute", "Plays without music."});
  parser_.addOption({"slow-battles",
                     "The monster strikes every 3 seconds rather than every second, "
                     "so that a screen reader can say each blow before the next "
                     "(remembered for later games)."});
  parser_.addOption({"record",
                     "Writes the game as it is played into FILE, a scenario that "
                     "kiravel-run --app DIR FILE plays again to the same state.",
                     "FILE"});
  parser_.addOption({"scene",
                     QString::fromStdString("Opens on a fresh easy game that plays the scene NAME at once "
                                            "(" + TextFile("NAME") +
                                            " of the data folder, for example 03): for "
                                            "authors, who press F5 to see the file again after saving it."),
                     "NAME"});
  parser_.addOption({"play",
                     "Plays the scenario FILE in the window once it is open, in "
                     "kiravel-run's language and with its meanings; a line "
                     "\"shot NAME\" saves the window as NAME.png.",
                     "FILE"});
  parser_.addOption({"shots", "With --play: saves the pictures into DIR (default: .).", "DIR"});
  parser_.addOption({"report-first-frame",
                     "Prints \"first-frame MS\" (milliseconds since the epoch) once "
                     "the window's first frame is on the screen, for the start-up "
                     "benchmark."});
}

bool CommandLineParser::Parse(const QStringList& arguments, CommandLine& line) {
  if (!parser_.parse(arguments)) {
    error_ = parser_.errorText();
    return false;
  }
  if (!parser_.positionalArguments().isEmpty()) {
    error_ = "unexpected argument " + parser_.positionalArguments().front();
    return false;
  }
  if (parser_.isSet("fullscreen") && parser_.isSet("window")) {
    error_ = "--fullscreen and --window exclude each other";
    return false;
  }
  line.data = parser_.isSet("data") ? ArgumentBytes(parser_.value("data")) : "";
  std::error_code unreachable;
  if (!line.data.empty() && !std::filesystem::is_directory(line.data, unreachable)) {
    error_ = "no folder " + parser_.value("data");
    return false;
  }
  if (parser_.isSet("fullscreen")) line.choices.fullScreen = true;
  if (parser_.isSet("window")) line.choices.fullScreen = false;
  line.choices.mute = parser_.isSet("mute");
  line.choices.slowBattles = parser_.isSet("slow-battles");
  line.record = parser_.isSet("record") ? ArgumentBytes(parser_.value("record")) : "";
  line.scene = parser_.value("scene").toStdString();
  if (parser_.isSet("scene") && !IsSceneName(line.scene)) {
    error_ = QString::fromStdString("--scene names a file of " + TextFolderPath() + " without " +
                                    kDataEnding + ", not ") +
             parser_.value("scene");
    return false;
  }
  if (parser_.isSet("shots") && !parser_.isSet("play")) {
    error_ = "--shots goes with --play";
    return false;
  }
  line.play = parser_.value("play").toStdString();
  line.shots = parser_.isSet("shots") ? parser_.value("shots").toStdString() : ".";
  line.reportFirstFrame = parser_.isSet("report-first-frame");
  return true;
}

bool AnswersInTextAlone(int argc, char** argv) {
  QStringList arguments;
  bool mayBeQts = false;
  for (int i = 0; i < argc; ++i) {
    arguments << QString::fromLocal8Bit(argv[i]);
    if (i > 0 && argv[i][0] == '-' && argv[i][1] != '-' && argv[i][1] != '\0') mayBeQts = true;
  }
  CommandLineParser parser;
  CommandLine ignored;
  if (!parser.Parse(arguments, ignored)) return !mayBeQts;
  return parser.WantsHelp() || parser.WantsVersion();
}

}  // namespace kiravel::qt
