// The one decoder that says whether the game can show a picture file.
#include <gtest/gtest.h>

#include "platform/picture_decoder.h"
#include "tests/game_fixture.h"

namespace kiravel {
namespace {

TEST(PictureDecoder, PicturesAreKnownByTheirBytesWhateverTheirName) {
  testing::DataFolder data;
  data.WriteBytes("img/ttl.dat", testing::PngBytes(30, 20));
  data.WritePicture("mati", 5, 3);  // a BMP
  PictureReader reader;
  std::shared_ptr<const QtImage> png = reader.Load(data.Path() + "img/ttl.dat");
  std::shared_ptr<const QtImage> bmp = reader.Load(data.Path() + "img/mati.dat");
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
  data.WriteBytes("img/cut.dat", png.substr(0, png.size() / 2));
  for (const std::string& path :
       {data.Path() + "img/none.dat", data.Path() + "img", data.Path() + "img/cut.dat"}) {
    EXPECT_EQ(PictureReader().Load(path), nullptr) << path;
  }
}

}  // namespace
}  // namespace kiravel
