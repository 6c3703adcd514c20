// kiravel-check [DIR]: reads a data folder as the game would and lists, one
// "file:line: error: message" a line, everything that would go wrong in play.
// Exit status 0 when nothing would, 1 when something would, 2 for misuse.
#include <QCommandLineParser>
#include <QCoreApplication>
#include <filesystem>
#include <iostream>
#include <string>

#include "check/data_check.h"
#include "kiravel/build_info.h"
#include "platform/argument_bytes.h"
#include "platform/game_folders.h"

namespace {

constexpr int kProblems = 1;
constexpr int kUsageError = 2;

const char* const kDescription =
    "Reads a Kiravel data folder as the game would and lists everything that\n"
    "would go wrong in play, as compilers do: \"file:line: error: message\".\n"
    "Without DIR it checks the folder the game would play: $KIRAVEL_DATA, the\n"
    "program's own folder when it holds the data, otherwise the installed one.\n"
    "\n"
    "Exit status: 0 when nothing would go wrong (warnings allowed), 1 when\n"
    "something would, 2 for a usage error.";

int UsageError(const QString& message) {
  std::cerr << "kiravel-check: " << message.toStdString()
            << "\nusage: kiravel-check [--format=text|json] [DIR]\n";
  return kUsageError;
}

// The folder to check, as the user named it.
std::string ChosenFolder(const QCommandLineParser& parser) {
  const QStringList folders = parser.positionalArguments();
  if (!folders.isEmpty()) return kiravel::ArgumentBytes(folders.front());
  if (parser.isSet("data")) return kiravel::ArgumentBytes(parser.value("data"));
  return kiravel::FindDataFolder("", kiravel::ProgramFolder());
}

}  // namespace

int main(int argc, char** argv) {
  // Picture decoders are plugins, found through the application object. What
  // they say about a bad picture is the checker's to report, in its format.
  qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
  QCoreApplication application(argc, argv);
  QCoreApplication::setApplicationVersion(kiravel::kVersion);
  QCommandLineParser parser;
  parser.setApplicationDescription(kDescription);
  parser.addHelpOption();
  parser.addVersionOption();
  parser.addOption({"data", "The data folder to check (the same as DIR).", "DIR"});
  parser.addOption({"format", "text (the default) or json, for tools.", "FORMAT", "text"});
  parser.addPositionalArgument("DIR", "The data folder to check.", "[DIR]");
  if (!parser.parse(QCoreApplication::arguments())) return UsageError(parser.errorText());
  if (parser.isSet("help")) parser.showHelp(0);
  if (parser.isSet("version")) parser.showVersion();
  const QString format = parser.value("format");
  if (format != "text" && format != "json") return UsageError("no format " + format);
  if (parser.positionalArguments().size() > 1) return UsageError("more than one folder");
  const std::string typed = ChosenFolder(parser);
  std::error_code error;
  if (!std::filesystem::is_directory(typed, error)) {
    return UsageError(QString::fromStdString("no folder " + typed));
  }
  std::string folder = typed;
  if (!folder.ends_with('/')) folder += '/';
  kiravel::check::Findings findings;
  try {
    findings = kiravel::check::CheckDataFolder(folder);
  } catch (const std::exception& fault) {
    // What the folder's own files cannot explain is not the author's doing.
    return UsageError(QString::fromStdString("cannot check " + typed + ": " + fault.what()));
  }
  const std::vector<kiravel::check::Finding> sorted = findings.Sorted();
  if (format == "json") {
    std::cout << kiravel::check::FormatJson(sorted, typed);
  } else {
    for (const kiravel::check::Finding& finding : sorted) {
      std::cout << kiravel::check::Format(finding, typed) << "\n";
    }
  }
  return findings.HasErrors() ? kProblems : 0;
}
