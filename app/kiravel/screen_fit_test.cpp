// The window on a screen smaller than the game's first size: 1920 × 1080
// pixels shown at twice the scale, with frames round the windows, under
// Qt's offscreen platform. The whole window, frame included, must fit.
#include <gtest/gtest.h>

#include <QApplication>
#include <QScreen>

#include <stdlib.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <string>

#include "app/kiravel/window_fixture.h"

namespace kiravel::qt {
namespace {

bool FitsTheScreen(const QWidget& window) {
  return window.screen()->availableGeometry().contains(window.frameGeometry());
}

bool FourToThree(const QWidget& window) {
  const QRect frame = window.frameGeometry();
  return std::abs(frame.width() * 3 - frame.height() * 4) <= 4;
}

TEST(ScreenFit, WindowOpensWithinAScreenScaledSmallerThanIt) {
  Window w;
  const QRect area = w.window->screen()->availableGeometry();
  ASSERT_EQ(area.size(), QSize(960, 540)) << "the screen is shown at twice the scale";
  // Laid out for the size it got: the status panel reaches the bottom.
  QWidget& status = w.Widget<QWidget>(w.fom->PicStr);
  ASSERT_TRUE(RunUntil([&] {
    return FitsTheScreen(*w.window) && std::abs(status.geometry().bottom() - w.window->height()) <= 2;
  })) << "the window's frame lies at " << w.window->frameGeometry().y() << " and is "
      << w.window->frameGeometry().height() << " high";
  EXPECT_TRUE(FourToThree(*w.window));
  EXPECT_GT(w.window->frameGeometry().height(), w.window->height()) << "the frame counts";
}

// A size remembered from a larger screen, or one as high as the whole
// screen, is shrunk until the frame fits, and the window keeps 4:3.
TEST(ScreenFit, TooLargeASizeIsShrunkToFitFrameIncluded) {
  Window w;
  const QRect area = w.window->screen()->availableGeometry();
  for (const QSize& size : {QSize(1500, 1100), QSize(area.height() * 4 / 3, area.height())}) {
    w.window->resize(size);
    EXPECT_TRUE(RunUntil([&] {
      return w.window->size() != size && FitsTheScreen(*w.window) && FourToThree(*w.window);
    })) << size.width() << "x" << size.height();
  }
}

}  // namespace
}  // namespace kiravel::qt

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  // The offscreen platform reads its screen, and whether windows get a
  // frame, from a file of its own.
  char path[] = "/tmp/kiravel-screen-XXXXXX.json";
  const int file = ::mkstemps(path, 5);
  if (file < 0) return 1;
  const std::string screen =
      R"({"windowFrameMargins": true, "screens": [{"name": "small", "x": 0, "y": 0,)"
      R"( "width": 1920, "height": 1080, "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1}]})";
  const bool written = ::write(file, screen.data(), screen.size()) == static_cast<ssize_t>(screen.size());
  ::close(file);
  if (!written) return 1;
  qputenv("QT_QPA_PLATFORM", QByteArray("offscreen:configfile=") + path);
  qputenv("QT_SCALE_FACTOR", "2");
  ::testing::AddGlobalTestEnvironment(new kiravel::qt::QtApplication(argc, argv));
  const int result = RUN_ALL_TESTS();
  std::remove(path);
  return result;
}
