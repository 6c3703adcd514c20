// How the window opens, the same for the window and the runner: the game's
// three opening events in their order, the first layout between them, and
// at most one box afterwards about what the opening missed.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "platform/data_folder.h"
#include "scenario/opening.h"
#include "testing/game_fixture.h"

namespace kiravel::scenario {
namespace {

// A front end that writes down what it is asked to do.
class WatchingFront : public Opening {
 public:
  explicit WatchingFront(Fom& fom) : fom_(fom) {}
  // Form_Load gives the game its folder; Form_Activate shows the start panel.
  void RunEvent(const std::function<void()>& event) override {
    const bool loaded = !fom_.AppPath.empty();
    fom_.PicStt.Visible = false;
    event();
    if (!loaded && !fom_.AppPath.empty()) {
      steps.push_back("Form_Load");
    } else {
      steps.push_back(fom_.PicStt.Visible ? "Form_Activate" : "another event");
    }
  }
  void ShowFirst() override { steps.push_back("show"); }
  std::vector<std::string> UntoldFailures() override {
    steps.push_back("untold");
    return untold;
  }
  void Tell(const std::string& notice) override { told.push_back(notice); }

  std::vector<std::string> untold;
  std::vector<std::string> steps;
  std::vector<std::string> told;

 private:
  Fom& fom_;
};

TEST(Opening, LoadsShowsThenActivatesAndTellsNothingWhenNothingIsMissed) {
  testing::DataFolder data;
  data.WriteStandardFiles();
  ScriptedPlatform platform;
  Fom fom(platform, data.Path());
  WatchingFront front(fom);
  OpenWindow(fom, front);
  EXPECT_EQ(front.steps, (std::vector<std::string>{"Form_Load", "show", "Form_Activate", "untold"}));
  EXPECT_TRUE(front.told.empty());
}

TEST(Opening, FailuresNotYetShownAreToldInOneBox) {
  testing::DataFolder data;
  data.WriteStandardFiles();
  ScriptedPlatform platform;
  Fom fom(platform, data.Path());
  WatchingFront front(fom);
  front.untold = {"一つ目", "二つ目"};
  OpenWindow(fom, front);
  EXPECT_EQ(front.told, std::vector<std::string>{"一つ目\r\n二つ目"});
}

// A missing data folder explains every failure the opening met, so only
// the missing places are told, with their full paths.
TEST(Opening, MissingDataIsToldWithFullPathsInsteadOfTheFailures) {
  testing::DataFolder data;
  std::filesystem::remove_all(data.Path() + kTextFolder);
  ScriptedPlatform platform;
  Fom fom(platform, data.Path());
  WatchingFront front(fom);
  front.untold = {"絵が読めません"};
  OpenWindow(fom, front);
  ASSERT_EQ(front.told.size(), 1u);
  const std::string& notice = front.told[0];
  EXPECT_EQ(notice.rfind("ゲームのデータが見つかりません。", 0), 0u);
  EXPECT_NE(notice.find("\r\n" + data.Path() + PictureFile(kTitlePicture) + "\r\n"), std::string::npos);
  EXPECT_NE(notice.find("\r\n" + data.Path() + kTextFolder + "/\r\n"), std::string::npos);
  EXPECT_EQ(notice.find("絵が読めません"), std::string::npos);
}

TEST(Opening, NoticeNamesOnlyWhatIsMissing) {
  EXPECT_EQ(OpeningNotice({}, {}), "");
  const std::string title = "/data/" + PictureFile(kTitlePicture);
  const std::string missing = OpeningNotice({title}, {});
  EXPECT_NE(missing.find("\r\n" + title + "\r\n"), std::string::npos);
  EXPECT_EQ(missing.find(std::string(kTextFolder) + "/"), std::string::npos);
}

}  // namespace
}  // namespace kiravel::scenario
