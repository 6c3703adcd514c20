// A game recorded in the window, played again headlessly by the runner's
// own stage: what the window's recordings are held to.
#pragma once

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QMessageBox>
#include <QTimer>

#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "core/fom.h"
#include "platform/scripted_platform.h"
#include "scenario/dump.h"
#include "scenario/output.h"
#include "scenario/runner.h"

namespace kiravel::qt {

// Acts on every message box and popup menu the moment one is up: boxes get
// the button of `Answer` (or their default), menus are walked down `Path`.
class Responder {
 public:
  Responder() {
    timer_.callOnTimeout([this] { Respond(); });
    timer_.start(0);
  }
  QMessageBox::StandardButton Answer = QMessageBox::NoButton;
  QStringList Path;
  int Boxes = 0;

 private:
  void Respond() {
    if (auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) return Walk(*menu);
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (box == nullptr) return;
    ++Boxes;
    QAbstractButton* chosen = Answer != QMessageBox::NoButton ? box->button(Answer) : nullptr;
    if (chosen == nullptr) chosen = box->defaultButton();
    if (chosen == nullptr) chosen = box->buttons().first();
    chosen->click();
  }
  void Walk(QMenu& menu) {
    if (Path.isEmpty()) {
      menu.close();
      return;
    }
    for (QAction* action : menu.actions()) {
      if (action->text() != Path.front()) continue;
      Path.pop_front();
      menu.setActiveAction(action);
      QKeyEvent key(QEvent::KeyPress, action->menu() != nullptr ? Qt::Key_Right : Qt::Key_Return,
                    Qt::NoModifier);
      QCoreApplication::sendEvent(&menu, &key);
      return;
    }
  }
  QTimer timer_;
};

inline std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// The printed lines that start as `start` does.
inline std::vector<std::string> LinesOf(const std::string& printed, std::string_view start) {
  std::vector<std::string> found;
  std::istringstream lines(printed);
  for (std::string line; std::getline(lines, line);) {
    if (line.rfind(start, 0) == 0) found.push_back(line);
  }
  return found;
}

// What the runner prints playing the scenario on the data folder.
inline std::string RunnerOutput(const std::string& scenario, const std::string& folder) {
  ScriptedPlatform platform(1);
  Fom fom(platform, folder);
  std::ostringstream out;
  run::Output output(out);
  output.Listen(platform, fom);
  run::Runner runner(fom, platform, output);
  runner.Open();
  std::istringstream lines(scenario);
  for (std::string line; std::getline(lines, line);) runner.Execute(line);
  return out.str();
}

// Replays the scenario in the runner; its dump at the end.
inline std::string ReplayedDump(const std::string& scenario, const std::string& folder) {
  std::string printed = RunnerOutput(scenario + "dump\n", folder);
  for (const std::string& refused : LinesOf(printed, "{\"refused\"")) {
    ADD_FAILURE() << "replay refused: " << refused;
  }
  std::vector<std::string> dumps = LinesOf(printed, "{\"dump\"");
  return dumps.empty() ? "" : dumps.back();
}

// The window's game as the runner dumps it.
inline std::string WindowDump(Fom& fom) {
  scenario::JsonWriter json;
  json.BeginObject();
  scenario::Dumper(fom).WriteAll(json);
  json.EndObject();
  return scenario::DumpLine(json);
}

}  // namespace kiravel::qt
