// kiravel-textconv [--to-utf8] SOURCE TARGET: turns a text file as authors
// write it (UTF-8, LF line ends) into the game's format (CP932, CR LF line
// ends), or with --to-utf8 one of the game's files back, so an author can
// start from the installed story. A character the target cannot hold stops
// the conversion with "SOURCE:LINE: message" rather than reaching the file
// changed; the two ways undo each other byte for byte.
#include <QCommandLineParser>
#include <QCoreApplication>

#include <fstream>
#include <functional>
#include <iostream>
#include <iterator>
#include <optional>
#include <string>
#include <string_view>

#include "core/conversions.h"
#include "kiravel/build_info.h"
#include "platform/cp932.h"

namespace {

constexpr int kFailed = 1;
constexpr int kUsageError = 2;

const char* const kDescription =
    "Converts a text file of a Kiravel data folder. The game reads its scenes,\n"
    "rumours and bonus-page pieces in CP932 (Shift-JIS) with CR LF line ends;\n"
    "authors write them in UTF-8. Without an option SOURCE is UTF-8 (LF or\n"
    "CR LF line ends) and TARGET is written as the game reads it; with\n"
    "--to-utf8 SOURCE is the game's file and TARGET is UTF-8 with LF line ends.\n"
    "\n"
    "Exit status: 0 when TARGET was written, 1 when SOURCE cannot be read or\n"
    "holds a character the other side cannot (\"SOURCE:LINE: message\"),\n"
    "2 for a usage error.";

struct Direction {
  std::function<std::optional<std::string>(std::string_view)> convert;
  const char* lineEnd;
  const char* cannot;  // what a line that does not convert means
};

const Direction kToGame{kiravel::Utf8ToCp932, "\r\n",
                        "a character here cannot be written in CP932"};
const Direction kToUtf8{kiravel::Cp932ToUtf8, "\n", "these bytes are not CP932 text"};

int UsageError(const QString& message) {
  std::cerr << "kiravel-textconv: " << message.toStdString()
            << "\nusage: kiravel-textconv [--to-utf8] SOURCE TARGET\n";
  return kUsageError;
}

int Convert(const Direction& direction, const std::string& source, const std::string& target) {
  std::ifstream in(source, std::ios::binary);
  if (!in) {
    std::cerr << source << ": cannot read\n";
    return kFailed;
  }
  std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  std::vector<std::string> lines = kiravel::Split(text, '\n');
  if (!lines.empty() && lines.back().empty()) lines.pop_back();  // the final line end
  std::string out;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    std::string_view line = lines[i];
    if (line.ends_with('\r')) line.remove_suffix(1);
    std::optional<std::string> converted = direction.convert(line);
    if (!converted) {
      std::cerr << source << ":" << i + 1 << ": " << direction.cannot << "\n";
      return kFailed;
    }
    out += *converted + direction.lineEnd;
  }
  std::ofstream file(target, std::ios::binary | std::ios::trunc);
  file << out;
  if (!file.flush()) {
    std::cerr << target << ": cannot write\n";
    return kFailed;
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication application(argc, argv);
  QCoreApplication::setApplicationVersion(kiravel::kVersion);
  QCommandLineParser parser;
  parser.setApplicationDescription(kDescription);
  parser.addHelpOption();
  parser.addVersionOption();
  parser.addOption({"to-utf8", "Converts one of the game's files into UTF-8 with LF line ends."});
  parser.addPositionalArgument("SOURCE", "The file to read.");
  parser.addPositionalArgument("TARGET", "The file to write, replaced if it exists.");
  if (!parser.parse(QCoreApplication::arguments())) return UsageError(parser.errorText());
  if (parser.isSet("help")) parser.showHelp(0);
  if (parser.isSet("version")) parser.showVersion();
  const QStringList files = parser.positionalArguments();
  if (files.size() != 2) return UsageError("SOURCE and TARGET are needed");
  return Convert(parser.isSet("to-utf8") ? kToUtf8 : kToGame, files[0].toStdString(),
                 files[1].toStdString());
}
