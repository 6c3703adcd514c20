// kiravel-check DIR: reads a data folder as the game would and lists, one
// "file:line: message" a line, everything that would go wrong in play.
// Exit status 0 when nothing would, 1 when something would, 2 for misuse.
#include <QCoreApplication>
#include <filesystem>
#include <iostream>
#include <string>

#include "app/kiravel-check/data_check.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::cerr << "usage: kiravel-check DIR\n";
    return 2;
  }
  std::string folder = argv[1];
  if (!std::filesystem::is_directory(folder)) {
    std::cerr << "kiravel-check: no folder " << folder << "\n";
    return 2;
  }
  if (!folder.ends_with('/')) folder += '/';
  // Picture decoders are plugins, found through the application object.
  QCoreApplication application(argc, argv);
  kiravel::check::Findings findings = kiravel::check::CheckDataFolder(folder);
  for (const kiravel::check::Finding& finding : findings.Sorted()) {
    std::cout << kiravel::check::Format(finding) << "\n";
  }
  return findings.HasErrors() ? 1 : 0;
}
