// The one decoder that says whether the game can show a picture file.
#include <gtest/gtest.h>

#include <filesystem>

#include "platform/data_folder.h"
#include "platform/picture_decoder.h"
#include "testing/game_fixture.h"

namespace kiravel {
namespace {

TEST(PictureDecoder, PicturesAreKnownByTheirBytesWhateverTheirName) {
  testing::DataFolder data;
  data.WriteBytes(PictureFile("ttl"), testing::PngBytes(30, 20));
  data.WritePicture("mati", 5, 3);  // a BMP
  PictureReader reader;
  std::shared_ptr<const QtImage> png = reader.Load(data.Path() + PictureFile("ttl"));
  std::shared_ptr<const QtImage> bmp = reader.Load(data.Path() + PictureFile("mati"));
  ASSERT_NE(png, nullptr);
  ASSERT_NE(bmp, nullptr);
  EXPECT_EQ(png->Width, 30);
  EXPECT_EQ(png->Height, 20);
  EXPECT_EQ(bmp->Width, 5);
  EXPECT_EQ(bmp->Pixels.height(), 3);
}

// A header alone tells the size but not whether the picture can be drawn.
TEST(PictureDecoder, ACutShortMissingOrForeignFileIsNoPicture) {
  const std::string png = testing::PngBytes(30, 20);
  for (const std::string& bytes :
       {png.substr(0, png.size() / 2), std::string("hello, courier"), std::string()}) {
    std::string problem;
    EXPECT_TRUE(DecodePicture(QByteArray::fromStdString(bytes), &problem).isNull());
    EXPECT_FALSE(problem.empty());
  }
  testing::DataFolder data;
  data.WriteBytes(PictureFile("cut"), png.substr(0, png.size() / 2));
  for (const std::string& path :
       {data.Path() + PictureFile("none"), data.Path() + kPictureFolder, data.Path() + PictureFile("cut")}) {
    EXPECT_EQ(PictureReader().Load(path), nullptr) << path;
  }
}

// A real picture with hundreds of megabytes behind it would be read and
// decoded at every resize; it is refused as broken, unread.
TEST(PictureDecoder, AFileLargerThanAnyPictureIsRefused) {
  testing::DataFolder data;
  data.WriteBytes(PictureFile("ttl"), testing::PngBytes(30, 20));
  const std::string path = data.Path() + PictureFile("ttl");
  std::filesystem::resize_file(path, kLargestPictureFile);  // sparse: costs no disk
  EXPECT_NE(PictureReader().Load(path), nullptr);
  std::filesystem::resize_file(path, kLargestPictureFile + 1);
  EXPECT_EQ(PictureReader().Load(path), nullptr);
  EXPECT_FALSE(ReadPictureFile(path).has_value());
}

// Pictures shown again are neither read nor decoded again while their files
// stay as they were; a file written anew is.
TEST(PictureDecoder, AnUnchangedFileIsDecodedOnce) {
  testing::DataFolder data;
  data.WritePicture("ttl", 4, 4);
  data.WritePicture("mati", 5, 3);
  const std::string title = data.Path() + PictureFile("ttl");
  PictureReader reader;
  std::shared_ptr<const QtImage> first = reader.Load(title);
  ASSERT_NE(first, nullptr);
  ASSERT_NE(reader.Load(data.Path() + PictureFile("mati")), nullptr);
  EXPECT_EQ(reader.Load(title), first);
  data.WriteBytes(PictureFile("ttl"), testing::PngBytes(7, 2));
  std::shared_ptr<const QtImage> second = reader.Load(title);
  ASSERT_NE(second, nullptr);
  EXPECT_EQ(second->Width, 7);
  std::filesystem::remove(title);
  EXPECT_EQ(reader.Load(title), nullptr);
}

}  // namespace
}  // namespace kiravel
