#include "app/kiravel/scenario_player.h"

#include <QDir>
#include <QFile>
#include <QMenu>
#include <QTimer>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <vector>

#include "scenario/command.h"
#include "scenario/perform.h"

namespace kiravel::qt {

namespace {

void Log(const QString& text) {
  std::fprintf(stderr, "kiravel scenario: %s\n", text.toUtf8().constData());
}

class ScenarioPlayer : public QObject, private scenario::Stage {
 public:
  ScenarioPlayer(Fom& fom, GameWindow& window, QtPlatform& platform,
                 std::vector<scenario::Line> lines, QString shotDir)
      : QObject(&window), fom_(fom), window_(window), platform_(platform),
        lines_(std::move(lines)), shotDir_(std::move(shotDir)) {
    platform_.AnswerFromScenario([this](QWidget& shown) { ShotOf(shown); });
    QTimer::singleShot(0, this, [this] { Next(); });
  }

 private:
  // Carries out the commands up to the next wait, then lets the window run.
  void Next() {
    while (next_ < lines_.size()) {
      const scenario::Line& line = lines_[next_++];
      if (!line.command && line.refusal.empty()) continue;
      Log(QString::fromStdString(line.text));
      waitMs_ = 0;
      std::string why = line.command ? scenario::Perform(*line.command, fom_, *this) : line.refusal;
      if (!why.empty()) {
        std::cout << scenario::RefusedLine(line.text, why) << std::endl;
        Log(QString::fromStdString(why));
      }
      if (closed_) return;
      if (waitMs_ > 0) {
        QTimer::singleShot(std::chrono::milliseconds(waitMs_), this, [this] { Next(); });
        return;
      }
    }
    // Played to the end: the game runs on as a player left it.
  }

  void Click(Control& control) override { window_.Click(control); }
  void Select(ListBox& list, int index) override { window_.Select(list, index); }
  void Type(TextBox& box, const std::string& text) override { window_.Type(box, text); }
  void Choose(MenuItem& item) override {
    platform_.QueueMenuChoice(&item);
    window_.Click(fom_.MenuCom);
  }
  void Tick(const TimerBinding& timer) override { window_.Tick(timer); }
  void Wait(std::int64_t ms) override { waitMs_ += ms; }
  void QueueDraws(const std::vector<double>& draws) override {
    for (double draw : draws) platform_.QueueRnd(draw);
  }
  void QueueAnswer(MsgBoxAnswer answer) override { platform_.QueueAnswer(answer); }
  // The screen is the real one, whatever size the scenario gives it.
  void Resize(std::int32_t height, const std::optional<ScreenSize>&) override {
    int frame = window_.frameGeometry().height() - window_.height();
    int pixels = static_cast<int>(std::lround(height / platform_.TwipsPerPixel())) - frame;
    window_.resize(window_.width(), std::max(1, pixels));
  }
  // The frame and the pixel are the real window's.
  void SetFrame(std::int32_t, std::int32_t) override {}
  void SetPixel(double) override {}
  void Close() override {
    closed_ = true;
    window_.close();
  }
  void Seed(std::uint64_t seed) override { platform_.SetSeed(seed); }
  void PreviewScene(const std::string& name) override { window_.PreviewScene(name); }
  std::string Shot(const std::string& name) override {
    QString file = QDir(shotDir_).filePath(QString::fromStdString(name) + ".png");
    if (!window_.grab().save(file)) return "cannot save " + file.toStdString();
    return "";
  }
  void Dumped(const scenario::JsonWriter& members) override {
    std::cout << scenario::DumpLine(members) << std::endl;
  }

  void ShotOf(QWidget& shown) {
    bool box = qobject_cast<QMenu*>(&shown) == nullptr;
    QString name = box ? QStringLiteral("box-%1.png").arg(++boxes_)
                       : QStringLiteral("menu-%1.png").arg(++menus_);
    shown.grab().save(QDir(shotDir_).filePath(name));
  }

  Fom& fom_;
  GameWindow& window_;
  QtPlatform& platform_;
  std::vector<scenario::Line> lines_;
  QString shotDir_;
  std::size_t next_ = 0;
  std::int64_t waitMs_ = 0;
  bool closed_ = false;
  int boxes_ = 0;
  int menus_ = 0;
};

}  // namespace

bool PlayScenario(Fom& fom, GameWindow& window, QtPlatform& platform, const std::string& file,
                  const std::string& shotDir) {
  QFile scenario(QString::fromStdString(file));
  if (!scenario.open(QIODevice::ReadOnly)) return false;
  std::vector<scenario::Line> lines;
  while (!scenario.atEnd()) {
    QByteArray line = scenario.readLine();
    if (line.endsWith('\n')) line.chop(1);
    lines.push_back(scenario::ParseLine(line.toStdString()));
    // A game recorded with slow battles is replayed at its own pace.
    if (line.toStdString() == std::string("# ") + kSlowBattlesRemark) window.SlowBattles(true);
  }
  new ScenarioPlayer(fom, window, platform, std::move(lines), QString::fromStdString(shotDir));
  return true;
}

}  // namespace kiravel::qt
