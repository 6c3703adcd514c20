#include <gtest/gtest.h>

#include <filesystem>

#include "platform/data_folder.h"
#include "testing/game_fixture.h"

namespace kiravel {
namespace {

using testing::Game;

struct Request {
  std::string panel, file;
  bool ok;
  bool operator==(const Request&) const = default;
};

// A game that records every picture request from now on.
struct WatchedGame : Game {
  explicit WatchedGame(bool standardFiles = true) : Game(standardFiles) {
    fom->OnPictureRequest = [this](const PictureBox& panel, const std::string& file, bool ok) {
      requests.push_back({panel.Id(), file, ok});
    };
  }
  std::vector<Request> requests;
};

TEST(Pictures, EmptyNameDrawsTheTitleInEitherPanel) {
  WatchedGame game;
  auto& requests = game.requests;
  Fom& f = *game.fom;
  EXPECT_EQ(f.Pic.PictureFile, PictureFile("ttl"));
  EXPECT_EQ(f.PicBtlGrf.PictureFile, PictureFile("ttl"));
  EXPECT_TRUE(f.ShowMonPicture(""));
  EXPECT_TRUE(f.ShowMonPicture("2"));
  EXPECT_TRUE(f.ShowTtlPicture("bar"));
  EXPECT_EQ(requests, (std::vector<Request>{{"PicBtlGrf", PictureFile("ttl"), true},
                                            {"PicBtlGrf", PictureFile("mon2"), true},
                                            {"Pic", PictureFile("bar"), true}}));
  EXPECT_EQ(f.PicBtlGrf.PictureFile, PictureFile("mon2"));
}

// The picture fills the panel whatever its size: the panel's drawing area
// and the buffer's are both in pixels, the buffer's being the picture's.
TEST(Pictures, PictureIsStretchedOverTheWholePanel) {
  Game game;
  Fom& f = *game.fom;
  game.data.WritePicture("wide", 40, 10);
  f.PicBtl.Visible = true;
  f.PicBtlGrf.Visible = false;
  ASSERT_TRUE(f.ShowMonPicture("0"));
  ASSERT_TRUE(f.ShowTtlPicture("wide"));
  ASSERT_NE(f.Pic.Picture, nullptr);
  EXPECT_EQ(f.Pic.Picture->Width, 40);
  EXPECT_EQ(f.E.Picture, f.Pic.Picture);
  EXPECT_DOUBLE_EQ(f.E.ScaleWidth(), 40);
  EXPECT_DOUBLE_EQ(f.E.ScaleHeight(), 10);
  EXPECT_DOUBLE_EQ(f.Pic.ScaleWidth(), f.Pic.ClientWidthTwips() / 15);
  EXPECT_DOUBLE_EQ(f.Pic.ScaleHeight(), f.Pic.ClientHeightTwips() / 15);
  EXPECT_TRUE(f.PicBtlGrf.Visible);  // painting shows the panel
}

// A new picture replaces the old; a failed one leaves the bare background,
// never the previous picture.
TEST(Pictures, EachRequestClearsThePanelFirst) {
  Game game;
  Fom& f = *game.fom;
  std::uint64_t painted = f.Pic.PaintCount;
  ASSERT_TRUE(f.ShowTtlPicture("mati"));
  ASSERT_TRUE(f.ShowTtlPicture("you"));
  EXPECT_EQ(f.Pic.PictureFile, PictureFile("you"));
  EXPECT_EQ(f.Pic.PaintCount, painted + 4);  // a clear and a paint each
  EXPECT_FALSE(f.ShowTtlPicture("nothere"));
  EXPECT_EQ(f.Pic.Picture, nullptr);
  EXPECT_EQ(f.Pic.PictureFile, "");
  EXPECT_EQ(f.Pic.PaintCount, painted + 5);
}

TEST(Pictures, UnreadablePictureIsReportedOnceUntilItLoadsAgain) {
  WatchedGame game;
  Fom& f = *game.fom;
  auto& requests = game.requests;
  game.data.WriteBytes(PictureFile("mati"), "not a picture at all");
  EXPECT_FALSE(f.ShowTtlPicture("mati"));
  EXPECT_FALSE(f.ShowTtlPicture("mati"));
  EXPECT_EQ(game.platform.Failures,
            (std::vector<std::string>{"絵「" + PictureFile("mati") + "」を読み込めません。"}));
  EXPECT_EQ(requests.back(), (Request{"Pic", PictureFile("mati"), false}));

  game.data.WritePicture("mati");
  EXPECT_TRUE(f.ShowTtlPicture("mati"));
  std::filesystem::remove(game.data.Path() + PictureFile("mati"));
  EXPECT_FALSE(f.ShowTtlPicture("mati"));
  EXPECT_EQ(game.platform.Failures.size(), 2u);
}

TEST(Pictures, MissingTitleIsReportedOnceAcrossResizes) {
  Game game(false);
  ASSERT_EQ(game.platform.Failures.size(), 1u);
  EXPECT_EQ(game.platform.Failures[0], "絵「" + PictureFile("ttl") + "」を読み込めません。");
  for (std::int32_t height : {6000, 7000, 8000}) {
    game.platform.SetWindowHeight(height);
    game.fom->Form_Resize();
  }
  EXPECT_EQ(game.platform.Failures.size(), 1u);
  EXPECT_EQ(game.fom->Pic.Picture, nullptr);
}

// A script may name any picture; none may reach outside the picture folder.
TEST(Pictures, NamesLeavingThePictureFolderAreRefused) {
  WatchedGame game;
  Fom& f = *game.fom;
  auto& requests = game.requests;
  game.data.WriteBytes(TextFile("secret"), testing::BmpBytes(4, 4));
  game.data.WriteBytes(PictureFolderPath() + "sub/" + DataFileName("x"), testing::BmpBytes(4, 4));
  EXPECT_FALSE(f.ShowTtlPicture("../" + TextFolderPath() + "secret"));
  EXPECT_FALSE(f.ShowTtlPicture("sub/x"));
  EXPECT_FALSE(f.ShowTtlPicture("sub\\x"));
  EXPECT_FALSE(f.ShowMonPicture("/../../" + TextFolderPath() + "secret"));
  EXPECT_FALSE(f.ShowTtlPicture(std::string("ttl\0x", 5)));
  EXPECT_EQ(f.Pic.Picture, nullptr);
  ASSERT_EQ(requests.size(), 5u);
  EXPECT_EQ(requests[0], (Request{"Pic", PictureFolderPath() + "../" + TextFile("secret"), false}));
  EXPECT_EQ(game.platform.Failures.size(), 5u);
  EXPECT_EQ(game.platform.Failures[1], "絵「" + PictureFolderPath() + "sub/" + DataFileName("x") + "」を読み込めません。");
}

}  // namespace
}  // namespace kiravel
