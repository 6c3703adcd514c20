// How long the history takes to open over the picture once it holds the
// thousand pages it keeps: the text put together from the pages, laid out
// in the story's font, scrolled to its end and painted. Run under Qt's
// offscreen platform.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QFont>
#include <QWidget>

#include <string>

#include "desktop/history_view.h"
#include "desktop/story_history.h"
#include "platform/data_folder.h"

namespace kiravel::qt {
namespace {

// A page of five story lines of some twenty characters, as scenes have them.
std::string Page(std::size_t number) {
  std::string caption;
  for (int line = 0; line < 5; ++line) {
    caption += "\r\n" + std::to_string(number) + "ページ目、妖精の森で星粒を拾った配達人は笑った";
  }
  return caption + "▼";
}

void HistoryOpensWithAThousandPages(benchmark::State& state) {
  StoryHistory history;
  for (std::size_t page = 0; page < StoryHistory::kPagesKept; ++page) {
    history.Follow(TextFile(std::to_string(page % 30)), Page(page));
    if (page % 100 == 99) history.Break(StoryHistory::Kind::Load);
  }
  QWidget panel;
  panel.resize(800, 600);
  panel.show();
  HistoryView view(&panel, [] {});
  view.setGeometry(panel.rect());
  QFont font(QStringLiteral("Noto Sans CJK JP"), 16, QFont::Bold);
  for (auto _ : state) {
    view.Show(history.Text(), font);
    view.viewport()->repaint();
    state.PauseTiming();
    view.hide();
    view.clear();
    state.ResumeTiming();
  }
}
BENCHMARK(HistoryOpensWithAThousandPages)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace kiravel::qt

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication application(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
